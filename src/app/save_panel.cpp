#include "app/save_panel.h"

#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <string>

#include "app/file_lists.h"
#include "app/library_list.h"
#include "app/main_window.h"
#include "app/popup_panels.h"

namespace zentorix::app {

QStringList SaveDialogFilters() {
    return {QStringLiteral("Zentorix file (*.zlf)"), QStringLiteral("Life 1.05 file (*.lif)"),
            QStringLiteral("RLE file (*.rle)"), QStringLiteral("MCell file (*.mcl)"),
            QStringLiteral("All files (*.*)")};
}

SaveFormat ChooseSaveFormat(int filterIndex, const std::filesystem::path& file) {
    switch (filterIndex) {
        case 1:
            return SaveFormat::Life105;
        case 2:
            return SaveFormat::Rle;
        case 3:
            return SaveFormat::MCell;
        case 4:
            return SaveFormatOf(file).value_or(SaveFormat::Zlf);
        default:
            return SaveFormat::Zlf;
    }
}

SavePanel::SavePanel(MainWindow& window, QFrame* frame)
    : QObject(frame), window_(window), frame_(frame) {
    Build();
    // Shown: the description as it is now.
    connect(&window.popups(), &PopupPanels::Shown, this, [this](const QString& name) {
        if (name == QLatin1String("SavePanel"))
            description_->setPlainText(DescriptionText(window_.session().world().Description));
    });
}

void SavePanel::Build() {
    Bindings& bind = window_.bindings();
    auto* layout = new QVBoxLayout(frame_);
    auto* top = new QHBoxLayout;
    top->addWidget(MakeLabel("Label8", tr("<b>Зберегти експеримент</b>"), frame_), 1);
    auto* close = MakeToolButton("SpeedButton3", QStringLiteral("✕"), false, frame_);
    close->setToolTip(tr("Закрити"));
    top->addWidget(close);
    layout->addLayout(top);
    layout->addWidget(
        MakeLabel("Label70", tr("Крім головного поля й правил, файл zlf містить:"), frame_));

    struct Box {
        const char* name;
        QString caption;
        bool Settings::*member;
    };
    const Box boxes[] = {
        {"SaveLandCheckBox", tr("Перемикачі ландшафту"), &Settings::SaveLandCheckBox},
        {"SaveMuseumCheckBox", tr("Налаштування музею"), &Settings::SaveMuseumCheckBox},
        {"SaveRulesCheckBox", tr("Вибір у списках правил"), &Settings::SaveRulesCheckBox},
        {"SaveColorPCheckBox", tr("Назви схеми й палітри"), &Settings::SaveColorPCheckBox},
        {"SaveStatCheckBox", tr("Налаштування статистики"), &Settings::SaveStatCheckBox},
        {"SaveOptionCheckBox", tr("Опції"), &Settings::SaveOptionCheckBox},
        {"SaveColorCheckBox", tr("Кольори й палітру"), &Settings::SaveColorCheckBox},
        {"SaveBirthCheckBox", tr("Поле вічного життя"), &Settings::SaveBirthCheckBox},
        {"SaveDeathCheckBox", tr("Поле вічної смерті"), &Settings::SaveDeathCheckBox},
        {"SaveReal2CheckBox", tr("Поле іншої реальності"), &Settings::SaveReal2CheckBox}};
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    Session& session = window_.session();
    int row = 0;
    for (const Box& b : boxes) {
        auto* box = MakeCheckBox(b.name, b.caption, frame_);
        if (b.member == &Settings::SaveReal2CheckBox)
            // The area is saved with the landscape switches it depends on.
            bind.Check(box, b.member, [&session] {
                session.settings().SetSaveReal2CheckBox(session.settings().SaveReal2CheckBox);
            });
        else
            bind.Check(box, b.member);
        grid->addWidget(box, row % 5, row / 5);
        ++row;
    }
    layout->addLayout(grid);

    description_ = new QPlainTextEdit(frame_);
    description_->setObjectName("Description2");
    description_->setMinimumWidth(420);
    description_->setMaximumHeight(description_->fontMetrics().lineSpacing() * 8);
    description_->setToolTip(tr("Опис експерименту, збережеться у файлі"));
    layout->addWidget(description_);

    auto* save = AddSaveCancelRow(layout, frame_, "SaveButton1", tr("Зберегти..."), "Cansel01");
    connect(save, &QPushButton::clicked, this, &SavePanel::SaveButton1Click);
    connect(close, &QToolButton::clicked, frame_, &QWidget::hide);
}

void SavePanel::SaveButton1Click() {
    Session& session = window_.session();
    session.world().Description = DescriptionLines(description_->toPlainText());
    if (!dialog_) {
        dialog_ = new QFileDialog(&window_, tr("Зберегти як"));
        dialog_->setObjectName("SaveDialog1");
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setFileMode(QFileDialog::AnyFile);
        // The question is asked for the file actually written, whose extension
        // the format may change.
        dialog_->setOption(QFileDialog::DontConfirmOverwrite);
        dialog_->setNameFilters(SaveDialogFilters());
        dialog_->setDirectory(FromPath(session.folder().Root));
    }
    const QString current = ToQString(session.world().CurrentFileName);
    dialog_->selectFile(QFileInfo(current).completeBaseName());

    // The field stays as it is while the user chooses, and is saved as seen.
    RunControl& run = window_.runControl();
    const bool running = run.Running();
    if (running)
        run.PlayButtonClick(false);
    bool written = false;
    if (dialog_->exec() == QDialog::Accepted && !dialog_->selectedFiles().isEmpty()) {
        const std::filesystem::path file = ToPath(dialog_->selectedFiles().first());
        const int filter =
            static_cast<int>(SaveDialogFilters().indexOf(dialog_->selectedNameFilter()));
        written = Write(ChooseSaveFormat(filter, file), file);
    }
    if (running)
        run.PlayButtonClick(true);
    if (written)
        frame_->hide();
}

bool SavePanel::Write(SaveFormat format, const std::filesystem::path& file) {
    Session& session = window_.session();
    const std::filesystem::path target = SavedFilePath(format, file);
    std::error_code ec;
    if (std::filesystem::exists(target, ec) && !ConfirmOverwrite(frame_))
        return false;
    // The file stores the speed position 0 as 1, and the track bar shows it.
    if (format == SaveFormat::Zlf && session.settings().SpeedMain == 0)
        window_.runControl().SetSpeed(1);
    World& world = session.world();
    SaveResult saved;
    const bool ok = session.Run([&] { saved = SaveAs(world, session.settings(), file, format); });
    if (ok)
        session.Report(saved.path, FileAction::Saved, saved.problems);
    for (FolderFileLists* lists : window_.findChildren<FolderFileLists*>())
        lists->Refresh();
    return ok;
}

}  // namespace zentorix::app
