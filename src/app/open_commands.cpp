#include "app/open_commands.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>

#include "app/main_window.h"

namespace zentorix::app {

namespace {

// The first local file a drag carries, empty when there is none.
QString DraggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

}  // namespace

QStringList OpenCommands::Filters() {
    // The dialog shows the text before the last bracket and filters by the
    // patterns inside it (HideNameFilterDetails), so the captions stay as they
    // always were while the patterns take every readable format, and "All files"
    // also takes names without a dot.
    return {QStringLiteral("All CA files formats (*.lif;*.life;*.mcl;*.zlf;*.l;*.lfm) "
                           "(*.life *.mcl *.zlf *.lif *.l *.lfm *.rle *.mlf *.qlf *.bmp)"),
            QStringLiteral("All files (*.*) (*)")};
}

OpenCommands::OpenCommands(MainWindow& window) : QObject(&window), window_(window) {
    connect(&window, &MainWindow::OpenDialogRequested, this, &OpenCommands::OpenFileButtonClick);
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

void OpenCommands::OpenFileButtonClick() {
    if (!dialog_) {
        dialog_ = new QFileDialog(&window_, tr("Відкрити"));
        dialog_->setObjectName("OpenDialog1");
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setOption(QFileDialog::HideNameFilterDetails);
        dialog_->setNameFilters(Filters());
        dialog_->setDirectory(FromPath(window_.session().folder().Root));
    }
    const int answer = dialog_->exec();
    // A completion list still open when Enter accepted the typed name would
    // outlive the dialog over the field and swallow the next click.
    for (QCompleter* completer : dialog_->findChildren<QCompleter*>())
        if (completer->popup())
            completer->popup()->hide();
    if (answer != QDialog::Accepted || dialog_->selectedFiles().isEmpty())
        return;
    window_.OpenFile(dialog_->selectedFiles().first());
}

bool OpenCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!DraggedFile(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = DraggedFile(drop->mimeData());
            if (!file.isEmpty()) {
                drop->acceptProposedAction();
                // The drag's source waits for the drop to finish; open afterwards,
                // since a failure shows a message box.
                QMetaObject::invokeMethod(
                    this, [this, file] { window_.OpenFile(file); }, Qt::QueuedConnection);
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zentorix::app
