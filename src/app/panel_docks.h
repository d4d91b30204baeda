#pragma once

#include <QObject>
#include <QSizePolicy>
#include <QString>
#include <filesystem>
#include <vector>

class QBoxLayout;
class QDockWidget;
class QMainWindow;
class QWidget;

namespace zentorix::app {

// A panel that can leave its place: a dock widget carrying the panel's name and
// holding `content`. It starts in its page (its home); floated, it belongs to the
// main window and docks on any side of the field.
QDockWidget* MakePanelDock(const char* name, const QString& title, QWidget* content,
                           QWidget* parent);

// The window's dockable panels: where each stands at home, handing a floated one
// to the main window, bringing all of them home, and keeping their places between
// runs in a file of their own beside the settings file, which keeps only its own
// keys.
class PanelDocks : public QObject {
    Q_OBJECT

  public:
    // The docks named here are found in the window, at home where they stand now.
    PanelDocks(QMainWindow& window, std::filesystem::path file);

    // Puts the panels where the file says; a missing or unreadable file leaves
    // them at home.
    void Restore();
    // Writes the places of the panels (no file while all are at home); false
    // when the file cannot be written.
    bool Save() const;
    // Every panel back in its page, where it started (PanelsHome1).
    void AllHome();
    bool AtHome(const QDockWidget* dock) const;

  private:
    struct Home {
        QDockWidget* dock;
        QWidget* parent;
        QBoxLayout* layout;
        int index;
        QSizePolicy content;  // the content's own policy, kept at home
        QWidget* homeBar;     // the slim title bar while at home
    };
    // From its page to the main window, floating where it is or docked at `area`.
    void Leave(Home& home, bool floating);

    QMainWindow& window_;
    std::filesystem::path file_;
    std::vector<Home> homes_;
};

// The panels that dock, in the order of their homes.
inline constexpr const char* kDockPanels[] = {"RulesSelectPanel", "RegionPanel", "SBPanel",
                                              "GraphStatisticPanel"};

}  // namespace zentorix::app
