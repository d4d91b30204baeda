#include "app/museum_page.h"

#include <QFormLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/edit_commands.h"
#include "app/file_lists.h"
#include "app/main_window.h"

namespace zentorix::app {

MuseumPage::MuseumPage(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("TabSheet6");
    Bindings& bind = window.bindings();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto* layer = MakeComboBox(
        "LoadFieldSelector",
        {tr("Головна область"), tr("Вічне життя"), tr("Вічна смерть"), tr("Інша реальність")},
        this);
    bind.Combo(layer, &Settings::LoadFieldSelector);
    form->addRow(MakeLabel("Label52", tr("Візерунок із файлу — в шар"), this), layer);
    auto* rules = MakeComboBox(
        "LoadRulesSelector",
        {tr("Головна область"), tr("\"Інші закони\""), tr("Область \"інших законів\"")}, this);
    bind.Combo(rules, &Settings::LoadRulesSelector);
    for (QComboBox* list : {layer, rules}) {
        // Long entries must not widen the narrow tool panel.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(8);
    }
    form->addRow(MakeLabel("Label51", tr("Правило з файлу — в набір"), this), rules);
    layout->addLayout(form);
    auto* clear = MakeCheckBox("ClearForLoad", tr("Очищати поле"), this);
    clear->setToolTip(tr("Відкриття файлу спершу очищає поле (шари, вибрані для стирання)"));
    bind.Check(clear, &Settings::ClearForLoad);
    auto* stop = MakeCheckBox("StopForLoad", tr("Зупиняти хід"), this);
    stop->setToolTip(tr("Відкриття файлу спершу зупиняє хід"));
    bind.Check(stop, &Settings::StopForLoad);
    layout->addWidget(clear);
    layout->addWidget(stop);

    // The shipped library of experiments, where there is one; else the program
    // folder.
    const ProgramFolder& folder = window.session().folder();
    std::error_code ec;
    const bool museum = std::filesystem::is_directory(folder.Museum(), ec);
    lists_ = new FolderFileLists("DirectoryListBox1", "FileListBox1",
                                 FromPath(museum ? folder.Museum() : folder.Root), this);
    lists_->setMinimumHeight(240);
    connect(lists_, &FolderFileLists::FileChosen, &window, &MainWindow::OpenFile);
    layout->addWidget(lists_, 1);

    layout->addWidget(MakeLabel("Label68", tr("Опис"), this));
    description_ = new QPlainTextEdit(this);
    description_->setObjectName("DescriptionMuseum");
    description_->setReadOnly(true);
    description_->setMaximumHeight(description_->fontMetrics().lineSpacing() * 7);
    layout->addWidget(description_);

    saveSelection_ = MakeButton("SaveMuseumButton", tr("Зберегти виділення..."), this);
    saveSelection_->setToolTip(tr("Зберегти виділені клітини як міні-файл (інструмент виділення)"));
    connect(saveSelection_, &QPushButton::clicked, &window,
            [&window] { emit window.SaveSelectionRequested(); });
    layout->addWidget(saveSelection_);
    layout->addWidget(BuildAutomatonPanel(window, this));

    bind.OnRefresh([this] { RefreshFromModel(); });
    RefreshFromModel();
}

void MuseumPage::RefreshFromModel() {
    const Session& session = window_.session();
    // The description of the file opened (or read) last.
    const QString text = DescriptionText(session.world().Description);
    if (description_->toPlainText() != text)
        description_->setPlainText(text);
    // Only a selection can be saved.
    saveSelection_->setEnabled(!session.settings().Paint);
}

}  // namespace zentorix::app
