#include "app/help_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextFrame>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/bindings.h"

namespace zentorix::app {

namespace {

QToolButton* MakeHelpButton(const char* name, const QString& text, QWidget* parent) {
    QToolButton* button = MakeToolButton(name, text, false, parent);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

QVariant GuideBrowser::loadResource(int type, const QUrl& name) {
    QVariant resource = QTextBrowser::loadResource(type, name);
    if (resource.typeId() != QMetaType::QByteArray)
        return resource;
    if (type == QTextDocument::ImageResource) {
        // A picture is read when it comes into view, and scaled once, smoothly,
        // to the size it is shown at.
        const QUrl full = name.isRelative() ? source().resolved(name) : name;
        read_.insert(full);
        const QSize size = fitted_.value(full);
        QImage image;
        if (!size.isValid() || !image.loadFromData(resource.toByteArray()) || image.size() == size)
            return resource;
        // As a pixmap: that is what the browser draws.
        return QPixmap::fromImage(
            image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    if (type != QTextDocument::HtmlResource)
        return resource;
    // The browser knows no figures: a figure is a block, its caption a paragraph.
    QString html = QString::fromUtf8(resource.toByteArray());
    for (const auto& [from, to] : {std::pair{"<figure>", "<div>"},
                                   {"</figure>", "</div>"},
                                   {"<figcaption>", "<p>"},
                                   {"</figcaption>", "</p>"}})
        html.replace(QLatin1String(from), QLatin1String(to));
    return html;
}

void GuideBrowser::Fit(const QUrl& name, QSize size) {
    fitted_.insert(name, size);
    // A picture the first layout read already is replaced by its fitted one.
    if (read_.contains(name))
        document()->addResource(QTextDocument::ImageResource, name,
                                loadResource(QTextDocument::ImageResource, name));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* bar = new QHBoxLayout;
    back_ = MakeHelpButton("HelpBackButton", tr("◀ Назад"), this);
    forward_ = MakeHelpButton("HelpForwardButton", tr("Вперед ▶"), this);
    auto* home = MakeHelpButton("HelpHomeButton", tr("Зміст"), this);
    auto* search = MakeHelpButton("HelpSearchButton", tr("Знайти..."), this);
    auto* external = MakeHelpButton("HelpBrowserButton", tr("Відкрити в браузері"), this);
    back_->setToolTip(tr("Попередня сторінка (Alt+Ліворуч)"));
    forward_->setToolTip(tr("Наступна сторінка (Alt+Праворуч)"));
    search->setToolTip(tr("Пошук у довідці (Ctrl+F)"));
    external->setToolTip(tr("Показати цю сторінку в браузері робочого столу"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    for (QToolButton* button : {back_, forward_, home, search})
        bar->addWidget(button);
    bar->addStretch(1);
    bar->addWidget(external);
    layout->addLayout(bar);

    browser_ = new GuideBrowser(this);
    browser_->setObjectName("HelpBrowser");
    // Links out of the guide go to the desktop; links within it stay here.
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_, 1);

    searchBar_ = new QWidget(this);
    searchBar_->setObjectName("HelpSearchBar");
    auto* row = new QHBoxLayout(searchBar_);
    row->setContentsMargins(0, 0, 0, 0);
    searchText_ = new QLineEdit(searchBar_);
    searchText_->setObjectName("HelpSearchText");
    searchText_->setPlaceholderText(tr("Знайти в довідці"));
    searchText_->setClearButtonEnabled(true);
    auto* previous = MakeHelpButton("HelpFindPrevious", QStringLiteral("▲"), searchBar_);
    auto* next = MakeHelpButton("HelpFindNext", QStringLiteral("▼"), searchBar_);
    previous->setToolTip(tr("Попереднє (Shift+F3)"));
    next->setToolTip(tr("Наступне (Enter, F3)"));
    notFound_ = new QLabel(tr("Не знайдено"), searchBar_);
    notFound_->setObjectName("HelpNotFound");
    notFound_->setStyleSheet(QStringLiteral("color: #b00000"));
    notFound_->hide();
    auto* closeSearch = MakeHelpButton("HelpSearchClose", QStringLiteral("✕"), searchBar_);
    closeSearch->setToolTip(tr("Закрити пошук (Esc)"));
    row->addWidget(searchText_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(notFound_);
    row->addWidget(closeSearch);
    searchBar_->hide();
    layout->addWidget(searchBar_);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(search, &QToolButton::clicked, this, &HelpWindow::OpenSearch);
    connect(external, &QToolButton::clicked, this, &HelpWindow::OpenInDesktopBrowser);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        if (url.adjusted(QUrl::RemoveFragment) != shownGuide_) {
            shownGuide_ = url.adjusted(QUrl::RemoveFragment);
            FitPictures(shownGuide_);
        }
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Zentorix") : title);
        // Forward to a place within the guide brings it to the top, as its link
        // did (the browser's own restored position can be far off).
        if (url.hasFragment())
            QTimer::singleShot(0, browser_,
                               [this, name = url.fragment()] { browser_->scrollToAnchor(name); });
    });
    connect(searchText_, &QLineEdit::returnPressed, this, [this] { Find(false); });
    connect(searchText_, &QLineEdit::textEdited, this, [this] {
        // A new word is looked for from where the last one was found.
        QTextCursor cursor = browser_->textCursor();
        cursor.setPosition(cursor.selectionStart());
        browser_->setTextCursor(cursor);
        Find(false);
    });
    connect(previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(closeSearch, &QToolButton::clicked, this, &HelpWindow::CloseSearch);

    auto shortcut = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence::Find, [this] { OpenSearch(); });
    shortcut(QKeySequence::FindNext, [this] { Find(false); });
    shortcut(QKeySequence::FindPrevious, [this] { Find(true); });
    shortcut(QKeySequence::Back, [this] { browser_->backward(); });
    shortcut(QKeySequence::Forward, [this] { browser_->forward(); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (searchBar_->isVisible())
            CloseSearch();
        else
            QWidget::close();
    });

    const QRect screen = (parent ? parent->screen() : QWidget::screen())->availableGeometry();
    resize(std::min(900, screen.width() * 9 / 10), std::min(760, screen.height() * 9 / 10));
}

void HelpWindow::ShowGuide(const QString& file) {
    const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(file));
    // Shown first: the pictures are fitted to the page as it is on screen.
    show();
    raise();
    activateWindow();
    if (browser_->source().adjusted(QUrl::RemoveFragment) != url) {
        layout()->activate();
        // Another guide (the language changed) starts a history of its own.
        browser_->setSource(url);
        browser_->clearHistory();
    }
    browser_->setFocus();
}

// Pictures wider than the page are shown to fit it. Each gets a box of its
// shown size (the text flows round it as drawn), told by the file's header
// alone: it is read only when it comes into view.
void HelpWindow::FitPictures(const QUrl& guide) {
    QTextDocument* document = browser_->document();
    // The page less the margins round the text, told by the formats alone: a
    // layout now would read every picture at its full size.
    const QTextFrameFormat page = document->rootFrame()->frameFormat();
    const int inset = static_cast<int>(page.leftMargin() + page.padding() + page.border() +
                                       document->begin().blockFormat().leftMargin());
    const int room = std::max(240, browser_->viewport()->width() - 2 * inset);
    QList<std::pair<int, QTextImageFormat>> pictures;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextFragment fragment = it.fragment(); fragment.charFormat().isImageFormat())
                pictures.append({fragment.position(), fragment.charFormat().toImageFormat()});
    for (auto& [position, format] : pictures) {
        const QUrl name = guide.resolved(QUrl(format.name()));
        QSize size = QImageReader(name.toLocalFile()).size();
        if (!size.isValid())
            continue;
        if (size.width() > room)
            size = QSize(room, size.height() * room / size.width());
        browser_->Fit(name, size);
        format.setWidth(size.width());
        format.setHeight(size.height());
        QTextCursor cursor(document);
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
        // The guide's generous line height is for text: a picture's line is as
        // high as the picture.
        QTextBlockFormat block = cursor.blockFormat();
        block.setLineHeight(100, QTextBlockFormat::SingleHeight);
        cursor.setBlockFormat(block);
    }
}

void HelpWindow::OpenSearch() {
    searchBar_->show();
    searchText_->setFocus();
    searchText_->selectAll();
}

void HelpWindow::CloseSearch() {
    searchBar_->hide();
    notFound_->hide();
    searchText_->setStyleSheet(QString());
    browser_->setFocus();
}

void HelpWindow::Find(bool backward) {
    const QString text = searchText_->text();
    if (!searchBar_->isVisible())
        OpenSearch();
    if (text.isEmpty())
        return;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        // Round the end (or the start) of the guide.
        QTextCursor cursor = browser_->textCursor();
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(cursor);
        found = browser_->find(text, flags);
    }
    notFound_->setVisible(!found);
    searchText_->setStyleSheet(found ? QString() : QStringLiteral("color: #b00000"));
}

void HelpWindow::OpenInDesktopBrowser() {
    const QUrl url = browser_->source();
    if (url.isEmpty() || !QDesktopServices::openUrl(url))
        emit Failed(tr("Не вдалося відкрити файл довідки %1: немає програми, що його показує.")
                        .arg(QDir::toNativeSeparators(url.toLocalFile())));
}

}  // namespace zentorix::app
