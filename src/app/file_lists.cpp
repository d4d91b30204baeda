#include "app/file_lists.h"

#include <QDir>
#include <QEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zentorix::app {

namespace {

constexpr int kFolderRole = Qt::UserRole;

// Each level is two blanks further in; deep folders would push their names
// out of the narrow list.
constexpr int kMaxIndent = 6;

}  // namespace

QStringList FolderFileLists::FileMask() {
    return {"*.mcl", "*.lif", "*.l", "*.zlf", "*.qlf", "*.mlf", "*.ini", "*.rle", "*.bmp"};
}

FolderFileLists::FolderFileLists(const char* folderListName, const char* fileListName,
                                 const QString& folder, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    // A folder typed or pasted here is reached at once, however deep it lies.
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("%1Path").arg(folderListName));
    path_->setPlaceholderText(tr("Тека"));
    path_->setClearButtonEnabled(true);
    layout->addWidget(path_);
    connect(path_, &QLineEdit::returnPressed, this, [this] { GoToTypedFolder(); });
    folders_ = new QListWidget(this);
    folders_->setObjectName(folderListName);
    files_ = new QListWidget(this);
    files_->setObjectName(fileListName);
    // The folder list takes a third of the height, whatever the lists hold.
    for (QListWidget* list : {folders_, files_})
        list->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    const int icon = folders_->fontMetrics().height();
    folders_->setIconSize(QSize(icon, icon));
    layout->addWidget(folders_, 1);
    layout->addWidget(files_, 2);

    for (QListWidget* list : {folders_, files_}) {
        list->setUniformItemSizes(true);
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
    }
    // The lists are refilled once the click is over: the clicked item goes away.
    auto goInto = [this](QListWidgetItem* item) {
        if (!item)
            return;
        const QString path = item->data(kFolderRole).toString();
        QMetaObject::invokeMethod(
            this, [this, path] { FolderClicked(path); }, Qt::QueuedConnection);
    };
    connect(folders_, &QListWidget::itemClicked, this, goInto);
    connect(folders_, &QListWidget::itemActivated, this, goInto);
    auto choose = [this](QListWidgetItem* item) {
        if (item && !focusArriving_)
            emit FileChosen(QDir(folder_).filePath(item->text()));
    };
    files_->installEventFilter(this);
    connect(files_, &QListWidget::currentItemChanged, this, choose);
    connect(files_, &QListWidget::itemDoubleClicked, this, choose);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderFileLists::Refresh);
    SetFolder(folder);
}

void FolderFileLists::SetFolder(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists())
        return;
    if (!folder_.isEmpty())
        watcher_.removePath(folder_);
    folder_ = dir.absolutePath();
    watcher_.addPath(folder_);
    files_->setProperty("folder", folder_);  // where a selection is saved
    folders_->setToolTip(QDir::toNativeSeparators(folder_));
    path_->setText(QDir::toNativeSeparators(folder_));
    path_->setToolTip(QString());
    path_->setStyleSheet(QString());
    FillFolders();
    {
        // A new folder starts with no file chosen.
        const QSignalBlocker block(files_);
        files_->clear();
    }
    FillFiles();
}

void FolderFileLists::Refresh() {
    if (!QDir(folder_).exists()) {
        // The folder went away: show the nearest one that is still there.
        QDir up(folder_);
        while (!up.exists() && up.cdUp()) {
        }
        SetFolder(up.absolutePath());
        return;
    }
    FillFolders();
    FillFiles();
}

// The folder's ancestors from the root down, each one step further in, the
// folder itself, then its sub-folders.
void FolderFileLists::FillFolders() {
    const QSignalBlocker block(folders_);
    folders_->clear();
    const QIcon open = QFileIconProvider().icon(QFileIconProvider::Folder);
    QStringList chain;
    QDir dir(folder_);
    do {
        chain.prepend(dir.absolutePath());
    } while (dir.cdUp());
    auto add = [&](const QString& path, const QString& text, int level) {
        auto* item =
            new QListWidgetItem(open, QString(2 * std::min(level, kMaxIndent), ' ') + text);
        item->setData(kFolderRole, path);
        item->setToolTip(QDir::toNativeSeparators(path));
        folders_->addItem(item);
        return item;
    };
    for (int i = 0; i < chain.size(); ++i) {
        const QString name = QDir(chain[i]).dirName();
        QListWidgetItem* item =
            add(chain[i], name.isEmpty() ? QDir::toNativeSeparators(chain[i]) : name, i);
        if (i == chain.size() - 1) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            folders_->setCurrentItem(item);
        }
    }
    const QDir current(folder_);
    for (const QString& sub :
         current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(current.filePath(sub), sub, static_cast<int>(chain.size()));
}

void FolderFileLists::FillFiles() {
    const QString chosen = files_->currentItem() ? files_->currentItem()->text() : QString();
    const QSignalBlocker block(files_);
    files_->clear();
    // Without QDir::CaseSensitive the mask also takes "GLIDER.RLE".
    files_->addItems(QDir(folder_).entryList(FileMask(), QDir::Files | QDir::Readable,
                                             QDir::Name | QDir::IgnoreCase));
    if (!chosen.isEmpty()) {
        const QList<QListWidgetItem*> same = files_->findItems(chosen, Qt::MatchExactly);
        if (!same.isEmpty())
            files_->setCurrentItem(same.first());
    }
}

void FolderFileLists::GoToTypedFolder() {
    QString typed = QDir::fromNativeSeparators(path_->text().trimmed());
    if (typed == QStringLiteral("~") || typed.startsWith(QStringLiteral("~/")))
        typed.replace(0, 1, QDir::homePath());
    // A relative path is taken from the folder shown.
    const QString folder = QDir(folder_).absoluteFilePath(typed);
    if (typed.isEmpty() || !QFileInfo(folder).isDir()) {
        // The typed text stays for correcting; the lists keep their folder.
        path_->setStyleSheet(QStringLiteral("color: red"));
        path_->setToolTip(tr("Теку не знайдено: %1").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    SetFolder(QDir::cleanPath(folder));
}

void FolderFileLists::FolderClicked(const QString& path) {
    if (QDir(path).absolutePath() != folder_)
        SetFolder(path);
}

bool FolderFileLists::eventFilter(QObject* watched, QEvent* event) {
    if (watched == files_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason &&
        !files_->currentItem()) {
        // Coming in by the keyboard makes the first file current; only a choice
        // of the user's opens a file.
        focusArriving_ = true;
        QMetaObject::invokeMethod(
            this, [this] { focusArriving_ = false; }, Qt::QueuedConnection);
    }
    if (event->type() == QEvent::MouseMove) {
        for (QListWidget* list : {folders_, files_})
            if (watched == list->viewport() && !list->hasFocus())
                list->setFocus(Qt::MouseFocusReason);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zentorix::app
