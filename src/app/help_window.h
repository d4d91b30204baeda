#pragma once

#include <QHash>
#include <QSet>
#include <QTextBrowser>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace zentorix::app {

// The guide's browser: it shows the guide's figures as plain blocks and each
// picture at the size it was fitted to.
class GuideBrowser : public QTextBrowser {
    Q_OBJECT

  public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override;
    // The picture `name` (a full URL) is shown at `size`.
    void Fit(const QUrl& name, QSize size);

  private:
    QHash<QUrl, QSize> fitted_;
    QSet<QUrl> read_;  // the pictures read so far
};

// The guide in a browser of the program's own, so help works where no web
// browser is installed: its pictures, links within it, back and forward, a
// search (Ctrl+F, then Enter or F3 for the next place, Shift for the one
// before), and a button that hands the page to the desktop's browser for those
// who prefer it. Escape closes the search, then the window. Pictures wider
// than the page are shown to fit it.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of its own above `parent`; its texts follow the parent's language.
    explicit HelpWindow(QWidget* parent);

    // Shows `file` (an HTML guide) from its start, unless it is the page shown
    // already; brings the window to the front.
    void ShowGuide(const QString& file);
    QTextBrowser* browser() const { return browser_; }

  signals:
    // Something the user asked for could not be done (the reason, for a message).
    void Failed(const QString& message);

  private:
    void OpenSearch();
    void CloseSearch();
    // Finds the search text from the cursor on, forward or back, going round the
    // guide's end; the box says when the text is nowhere.
    void Find(bool backward);
    void OpenInDesktopBrowser();
    void FitPictures(const QUrl& guide);

    GuideBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QWidget* searchBar_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QLabel* notFound_ = nullptr;
    QUrl shownGuide_;  // the guide whose pictures were fitted
};
}  // namespace zentorix::app
