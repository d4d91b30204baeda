#include "app/selection_panel.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/file_lists.h"
#include "app/library_list.h"
#include "app/main_window.h"
#include "app/popup_panels.h"
#include "formats/snapshots.h"

namespace zentorix::app {

SaveSelectionPanel::SaveSelectionPanel(MainWindow& window, QFrame* frame)
    : QObject(frame), window_(window), frame_(frame) {
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(MakeLabel("Label71", tr("<b>Зберегти виділення</b>"), frame));
    auto* form = new QFormLayout;
    name_ = new QLineEdit(frame);
    name_->setObjectName("SelectionFileName");
    name_->setMinimumWidth(260);
    folder_ = new QLineEdit(frame);
    folder_->setObjectName("SelectionSaveDir");
    form->addRow(MakeLabel("Label73", tr("Ім'я файлу"), frame), name_);
    form->addRow(MakeLabel("Label72", tr("Папка"), frame), folder_);
    layout->addLayout(form);
    layout->addWidget(MakeLabel("Label75", tr("Опис"), frame));
    description_ = new QPlainTextEdit(frame);
    description_->setObjectName("SelectionDescription");
    description_->setMaximumHeight(description_->fontMetrics().lineSpacing() * 6);
    layout->addWidget(description_);
    auto* save = AddSaveCancelRow(layout, frame, "SaveButton2", tr("Зберегти"), "Cansel02");
    connect(save, &QPushButton::clicked, this, &SaveSelectionPanel::Save);
    connect(name_, &QLineEdit::returnPressed, this, &SaveSelectionPanel::Save);
    connect(&window, &MainWindow::SaveSelectionRequested, this, &SaveSelectionPanel::Show);
}

void SaveSelectionPanel::Show() {
    if (!window_.session().world().SelectionVisible)
        return;
    if (!frame_->isVisible())
        window_.popups().Toggle("SaveSelectionPanel", true);
    description_->setPlainText(DescriptionText(window_.session().world().Description));
    // The folder the museum page shows, unless it is one of the shipped files
    // or cannot be written: then the user's own folder.
    const ProgramFolder& program = window_.session().folder();
    QString folder = FromPath(program.Root);
    if (auto* files = window_.findChild<QListWidget*>("FileListBox1")) {
        const QString shown = files->property("folder").toString();
        const QString shipped = program.Shipped.empty() ? QString() : FromPath(program.Shipped);
        const bool inShipped =
            !shipped.isEmpty() && (shown == shipped || shown.startsWith(shipped + '/'));
        if (!shown.isEmpty() && !inShipped && QFileInfo(shown).isWritable())
            folder = shown;
    }
    folder_->setText(QDir::toNativeSeparators(folder + '/'));
    name_->setFocus();
}

void SaveSelectionPanel::Save() {
    Session& session = window_.session();
    const QString name = name_->text().trimmed();
    if (name.isEmpty()) {
        name_->setFocus();
        return;
    }
    const std::filesystem::path folder = ToPath(QDir::fromNativeSeparators(folder_->text()));
    std::error_code ec;
    if (std::filesystem::exists(SelectionFilePath(folder, ToStd(name)), ec) &&
        !ConfirmOverwrite(frame_)) {
        name_->setFocus();
        return;
    }
    const bool saved = session.Run([&] {
        SaveSelectionFile(session.world(), session.settings(), folder, ToStd(name),
                          DescriptionLines(description_->toPlainText()));
    });
    if (!saved)
        return;
    frame_->hide();
    for (FolderFileLists* lists : window_.findChildren<FolderFileLists*>())
        lists->Refresh();
}

}  // namespace zentorix::app
