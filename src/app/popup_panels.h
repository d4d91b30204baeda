#pragma once

#include <QFrame>
#include <QMap>
#include <QTimer>

class QLabel;

namespace zentorix::app {

// The six pop-up panels that share one place over the window (save, save
// selection, About, language, thresholds, auto-start range): showing one hides
// the others. Their content is built by whoever owns them.
class PopupPanels : public QObject {
    Q_OBJECT

  public:
    static constexpr const char* kNames[] = {"SavePanel",      "SaveSelectionPanel",
                                             "AboutPanel",     "ChangeLanguagePanel",
                                             "ThresholdPanel", "AutoStartRangePanel"};

    explicit PopupPanels(QWidget* host);

    QFrame* panel(const char* name) const { return panels_.value(name); }
    // Hidden: hide the others and show it centred (its middle at a third of the
    // host's height when `upper`); shown: hide it.
    void Toggle(const char* name, bool upper = false);
    void HideAll();
    bool AnyShown() const;

  signals:
    void Shown(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildAbout();
    void Place(QFrame* target);

    QWidget* host_;
    QMap<QString, QFrame*> panels_;
    QMap<QFrame*, bool> upper_;  // shown at a third of the height, not the middle
    QTimer aboutTimer_;          // Timer3: the About panel's animation
    QLabel* pictures_[3] = {};
    int frame_ = 0;
};

}  // namespace zentorix::app
