#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QDirIterator>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/app_test_support.h"
#include "app/file_lists.h"
#include "app/help_window.h"
#include "app/language_control.h"
#include "app/popup_panels.h"

using namespace zentorix;

namespace {

// Every file under a folder with its size and time, to see that nothing in it
// was written.
QStringList Snapshot(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QStringList Names(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(folder).relativeFilePath(it.next());
    names.sort();
    return names;
}

// A window whose shipped files lie apart from the user's, as when installed.
struct SplitFixture {
    QTemporaryDir user;
    QString shipped;
    std::unique_ptr<app::MainWindow> window;

    explicit SplitFixture(const QString& shippedFolder) : shipped(shippedFolder) {
        window = std::make_unique<app::MainWindow>(
            ProgramFolder{app::ToPath(user.path()), app::ToPath(shipped)}, QString());
        window->resize(1280, 720);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->StartedUp());
    }
    template <typename T>
    T* Find(const char* name) const {
        return window->findChild<T*>(name);
    }
};

// Where the desktop is asked to show a page.
struct UrlCatcher : QObject {
    Q_OBJECT

  public:
    QList<QUrl> opened;
  public slots:
    void Open(const QUrl& url) { opened << url; }
};

// The middle link of the guide's contents line: a place well down the guide
// that can stand at the top of the page.
QString MiddleInnerLink(QTextDocument* document, int* position) {
    QList<std::pair<QString, int>> links;
    for (QTextBlock block = document->begin(); block.isValid() && links.isEmpty();
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString target = it.fragment().charFormat().anchorHref();
            if (target.startsWith('#') && target.size() > 1)
                links.append({target, it.fragment().position()});
        }
    if (links.isEmpty())
        return {};
    *position = links[links.size() / 2].second;
    return links[links.size() / 2].first;
}

// Where on the page the place `name` stands, relative to the top of what is
// shown.
int PlaceOnScreen(QTextBrowser* browser, const QString& name) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                QTextCursor cursor(document);
                cursor.setPosition(it.fragment().position());
                return browser->cursorRect(cursor).top();
            }
    return -1000000;
}

// Where the search has put the browser's selection.
int Found(QTextBrowser* browser) {
    return browser->textCursor().hasSelection() ? browser->textCursor().selectionStart() : -1;
}

}  // namespace

class ShippedFilesTest : public QObject {
    Q_OBJECT

  private slots:
    // F1 opens the guide of the language in the program's own help window,
    // pictures and all; links, back and forward, and the search work from the
    // keyboard; the page can be handed to the desktop; nothing shipped is written.
    void helpOpensTheGuideOfTheLanguageInAWindowOfItsOwn() {
        const QStringList before = Snapshot(QStringLiteral(ZENTORIX_SHIPPED_DATA));
        SplitFixture f(QStringLiteral(ZENTORIX_SHIPPED_DATA));
        QTest::keyClick(f.window->windowHandle(), Qt::Key_F1);
        auto* help = f.Find<app::HelpWindow>("HelpWindow");
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTextBrowser* browser = help->browser();
        QCOMPARE(browser->source(),
                 QUrl::fromLocalFile(QStringLiteral(ZENTORIX_SHIPPED_DATA "/ZentorixUA.html")));
        QVERIFY(!browser->documentTitle().isEmpty());
        QCOMPARE(help->windowTitle(), browser->documentTitle());
        // The first picture is there, made to fit the page.
        QTextDocument* document = browser->document();
        const QString picture = QStringLiteral("help/window-ua.png");
        QVERIFY(document->toHtml().contains(picture));
        // The browser keeps a picture as read, or as a pixmap once drawn.
        const QVariant shownPicture =
            document->resource(QTextDocument::ImageResource, QUrl(picture));
        const QImage image = shownPicture.typeId() == QMetaType::QPixmap
                                 ? shownPicture.value<QPixmap>().toImage()
                                 : shownPicture.value<QImage>();
        QVERIFY(image.width() > 200 && image.width() < browser->viewport()->width());
        // ... right under its heading, and its caption right under it.
        QTextBlock pictureBlock = document->begin();
        while (pictureBlock.isValid() &&
               !pictureBlock.text().contains(QChar::ObjectReplacementCharacter))
            pictureBlock = pictureBlock.next();
        QVERIFY(pictureBlock.isValid() && pictureBlock.previous().isValid());
        QAbstractTextDocumentLayout* layout = document->documentLayout();
        const QRectF shown = layout->blockBoundingRect(pictureBlock);
        const QRectF heading = layout->blockBoundingRect(pictureBlock.previous());
        QVERIFY2(shown.top() - heading.bottom() < 40,
                 qPrintable(QString::number(shown.top() - heading.bottom())));
        const QRectF caption = layout->blockBoundingRect(pictureBlock.next());
        QVERIFY2(caption.top() - shown.top() < image.height() + 40,
                 qPrintable(QString::number(caption.top() - shown.top())));
        QTest::qWait(50);
        QVERIFY(help->isActiveWindow());
        help->grab().save(QStringLiteral(ZENTORIX_ARTIFACTS "/help_window.png"));

        // A link within the guide brings its place to the top; back and forward
        // go between the two places.
        int link = -1;
        const QString href = MiddleInnerLink(document, &link);
        QVERIFY(link >= 0);
        QTextCursor at(document);
        at.setPosition(link + 1);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          browser->cursorRect(at).center());
        QTRY_COMPARE(browser->source().fragment(), href.mid(1));
        QScrollBar* scroll = browser->verticalScrollBar();
        const auto atTop = [&] { return std::abs(PlaceOnScreen(browser, href.mid(1))) < 40; };
        QTRY_VERIFY(scroll->value() > browser->viewport()->height() && atTop());
        auto* back = f.Find<QToolButton>("HelpBackButton");
        auto* forward = f.Find<QToolButton>("HelpForwardButton");
        QVERIFY(back->isEnabled() && !forward->isEnabled());
        QTest::keyClick(help->windowHandle(), Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(scroll->value(), 0);
        QVERIFY(!back->isEnabled() && forward->isEnabled());
        QTest::keyClick(help->windowHandle(), Qt::Key_Right, Qt::AltModifier);
        QTRY_VERIFY(scroll->value() > 0 && atTop());

        // Ctrl+F, a word, Enter and F3: each place in turn, then round to the
        // first; Shift+F3 goes back; a word that is nowhere is said to be so.
        QTest::keyClick(help->windowHandle(), Qt::Key_F, Qt::ControlModifier);
        auto* text = f.Find<QLineEdit>("HelpSearchText");
        QTRY_VERIFY(text->isVisible() && text->hasFocus());
        const QString word = QStringLiteral("Zentorix");
        QList<int> places;
        for (QTextCursor c = document->find(word); !c.isNull(); c = document->find(word, c))
            places << c.selectionStart();
        QVERIFY(places.size() >= 3);
        for (QChar c : word)
            QTest::keyClick(help->windowHandle(), c.toLatin1());
        QCOMPARE(text->text(), word);
        // Typing finds the first place after the one the link went to.
        const int first = Found(browser);
        QVERIFY(places.contains(first));
        QTest::keyClick(help->windowHandle(), Qt::Key_Return);
        const int second = Found(browser);
        QCOMPARE(second, places.value(places.indexOf(first) + 1, places.first()));
        for (int i = 0; i < places.size() - 1; ++i)
            QTest::keyClick(help->windowHandle(), Qt::Key_F3);
        QCOMPARE(Found(browser), first);
        QTest::keyClick(help->windowHandle(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(Found(browser), places.value(places.indexOf(first) - 1, places.last()));
        QVERIFY(!f.Find<QLabel>("HelpNotFound")->isVisible());
        text->clear();
        for (char c : QByteArrayLiteral("qxqzv"))
            if (c)
                QTest::keyClick(help->windowHandle(), c);
        QVERIFY(f.Find<QLabel>("HelpNotFound")->isVisible());
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        QVERIFY(!text->isVisible() && help->isVisible());

        // The page goes to the desktop's browser on request.
        UrlCatcher desktop;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "Open");
        f.Find<QToolButton>("HelpBrowserButton")->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(desktop.opened.size(), 1);
        QCOMPARE(desktop.opened.first().adjusted(QUrl::RemoveFragment),
                 QUrl::fromLocalFile(QStringLiteral(ZENTORIX_SHIPPED_DATA "/ZentorixUA.html")));

        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(!help->isVisible());

        // In English, the help button opens the English guide, from its start,
        // in a window that speaks English.
        f.window->language().ApplyLanguageFile("english.lng");
        QCOMPARE(back->text(), QStringLiteral("◀ Back"));
        f.Find<QToolButton>("HelpButton")->click();
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(browser->source(),
                 QUrl::fromLocalFile(QStringLiteral(ZENTORIX_SHIPPED_DATA "/ZentorixEN.html")));
        QVERIFY(!back->isEnabled());
        QCOMPARE(help->windowTitle(), browser->documentTitle());
        QVERIFY(help->windowTitle() != QStringLiteral("Zentorix"));

        f.window->close();
        f.window.reset();
        QCOMPARE(Snapshot(QStringLiteral(ZENTORIX_SHIPPED_DATA)), before);
    }

    // Installed, the museum page opens on the shipped library; a file opens from
    // it; a selection saved while it is shown goes to the user's folder, and to
    // the folder shown once that is the user's. The user's folder holds what the
    // program writes and nothing of what ships.
    void theMuseumListsTheShippedLibraryAndSavesGoToTheUser() {
        QTemporaryDir shipped;
        QDir(shipped.path()).mkpath("Museum/Guns");
        test::WriteFile(shipped.filePath("Museum/Guns/gun.rle"),
                        "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
        test::WriteFile(shipped.filePath("Museum/blinker.lif"), "#Life 1.05\n***\n");
        QDir(shipped.path()).mkpath("Language");
        const QStringList before = Snapshot(shipped.path());
        SplitFixture f(shipped.path());
        auto* files = f.Find<QListWidget>("FileListBox1");
        app::FolderFileLists* lists = nullptr;
        for (auto* pair : f.window->findChildren<app::FolderFileLists*>())
            if (pair->fileList() == files)
                lists = pair;
        QVERIFY(lists);
        QCOMPARE(lists->folder(), shipped.filePath("Museum"));
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QStringLiteral("blinker.lif"));
        QVERIFY(!f.Find<QListWidget>("DirectoryListBox1")
                     ->findItems(QStringLiteral("Guns"), Qt::MatchEndsWith)
                     .isEmpty());
        files->setCurrentRow(0);
        QCOMPARE(f.window->session().world().CurrentFileName, std::string("blinker.lif"));
        QCOMPARE(f.window->session().world().Counters.LiveCount, 3);

        // A selection saved while the library is shown goes to the user's folder;
        // in a folder of the user's, it goes there.
        f.window->session().world().SelectionVisible = true;
        auto* saveIn = f.Find<QLineEdit>("SelectionSaveDir");
        const std::pair<QString, QString> cases[] = {
            {shipped.filePath("Museum/Guns"), f.user.path()},
            {shipped.filePath("Museum"), f.user.path()},
            {f.user.filePath("Field"), f.user.filePath("Field")},
        };
        for (const auto& [shown, offered] : cases) {
            lists->SetFolder(shown);
            f.window->popups().panel("SaveSelectionPanel")->hide();
            emit f.window->SaveSelectionRequested();
            QCOMPARE(QDir::fromNativeSeparators(saveIn->text()), offered + '/');
        }

        f.window->close();
        f.window.reset();
        QCOMPARE(Snapshot(shipped.path()), before);
        QCOMPARE(Names(f.user.path()),
                 (QStringList{"Color", "Field", "QuickSave", "QuickSave/undo",
                              "QuickSave/undo/1.qlf", "Rules", "Zentorix.ini"}));
    }
};

QTEST_MAIN(ShippedFilesTest)
#include "shipped_files_test.moc"
