#include "app/colours_page.h"

#include <QColorDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>
#include <tuple>
#include <vector>

#include "app/language_texts.h"
#include "app/library_list.h"
#include "app/main_window.h"
#include "app/palette_editor.h"
#include "view/builtin_palettes.h"
#include "view/palette_commands.h"
#include "view/palette_files.h"

namespace zentorix::app {

namespace {

QToolButton* MakeColourBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QToolButton(parent);
    box->setObjectName(name);
    box->setToolTip(caption);
    box->setToolButtonStyle(Qt::ToolButtonIconOnly);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

void ShowColour(QToolButton* box, Colour colour) {
    const QSize size(44, 12);
    QPixmap swatch(size);
    swatch.fill(QColor::fromRgb(ToRgb(colour)));
    QPainter painter(&swatch);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.end();
    box->setIconSize(size);
    box->setIcon(QIcon(swatch));
    box->setProperty("colour", colour);
}

}  // namespace

ColoursPage::ColoursPage(MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window), colours_(window.session().settings().Colours) {
    setObjectName("TabSheet2");
    // Choosing from a list hands the keyboard back to the window's commands.
    setFocusPolicy(Qt::ClickFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* scheme = new QGroupBox(tr("Схема"), this);
    scheme->setObjectName("Label39");
    BuildScheme(scheme);
    layout->addWidget(scheme);
    auto* palette = new QGroupBox(tr("Палітра станів"), this);
    palette->setObjectName("Label35");
    BuildPalette(palette);
    layout->addWidget(palette);
    layout->addStretch(1);

    // The lists get their files first; the settings then say what they show.
    FillLists();
    window.bindings().OnRefresh([this] { RefreshFromModel(); });
    RefreshFromModel();
}

void ColoursPage::BuildScheme(QWidget* group) {
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    schemes_ = MakeLibraryList("ColorComboBox", group);
    for (const BuiltInColourScheme& s : BuiltInColourSchemes())
        schemes_->addItem(ToQString(std::string(s.Caption)));
    auto* save = MakeButton("SaveColorButton", tr("Зберегти схему"), group);
    layout->addLayout(LibraryListRow(schemes_, save));
    connect(schemes_, &QComboBox::activated, this, &ColoursPage::ColorComboBoxSelect);
    connect(schemes_, &QComboBox::editTextChanged, this, &ColoursPage::ListTextChanged);
    connect(save, &QPushButton::clicked, this,
            [this] { SaveList(schemes_, kColourSchemeExtension, &SaveColourScheme); });

    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(2);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const std::tuple<const char*, const char*, QString, Colour ColourModel::*> boxes[] = {
        {"CellColorBox", "Label18", tr("Клітини"), &ColourModel::CellColour},
        {"BGColorBox", "Label5", tr("Фон"), &ColourModel::BackgroundColour},
        {"GridColorBox", "Label6", tr("Сітка"), &ColourModel::GridColour},
        {"BigGridColorBox", "Label4", tr("Велика сітка"), &ColourModel::BigGridColour},
        {"BirthColorBox", "Label67", tr("Народження"), &ColourModel::BirthColour},
        {"DeadColorBox", "Label7", tr("Смерть"), &ColourModel::DeadColour}};
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const auto& [name, label, caption, member] = boxes[i];
        boxes_[i] = {MakeColourBox(name, caption, group), member};
        form->addRow(MakeLabel(label, caption, group), boxes_[i].button);
        connect(boxes_[i].button, &QToolButton::clicked, this, [this, i] {
            const SchemeBox& box = boxes_[i];
            if (const auto colour = PickColour(colours_.*box.member)) {
                colours_.*box.member = *colour;
                ColourBoxChange(box);
            }
        });
    }
    layout->addLayout(form);

    showBirth_ = MakeCheckBox("ShowBirthCells", tr("Показувати народжені"), group);
    showDead_ = MakeCheckBox("ShowDeadCells", tr("Показувати померлі"), group);
    colorOn_ = MakeCheckBox("ColorOn", tr("Колір за станом"), group);
    colorMode_ = MakeCheckBox("ColorMode", LanguageText(kColourByAge), group);
    layout->addWidget(MakeLabel("Label64", tr("Показ змін"), group));
    for (QCheckBox* box : {showBirth_, showDead_, colorOn_, colorMode_})
        layout->addWidget(box);
    // The step reads the highlight switches at its next generation.
    connect(showBirth_, &QCheckBox::toggled, this, [this](bool on) {
        colours_.ShowBirthCells = on;
        ModelEdited();
    });
    connect(showDead_, &QCheckBox::toggled, this, [this](bool on) {
        colours_.ShowDeadCells = on;
        ModelEdited();
    });
    connect(colorOn_, &QCheckBox::toggled, this, [this](bool on) { ColorOnClick(window_, on); });
    connect(colorMode_, &QCheckBox::toggled, this, [this](bool on) {
        colours_.ColorMode = on;
        ModelEdited();
    });
}

void ColoursPage::BuildPalette(QWidget* group) {
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    palettes_ = MakeLibraryList("GenColorComboBox", group);
    for (const BuiltInGenPalette& p : BuiltInGenPalettes())
        palettes_->addItem(ToQString(std::string(p.Caption)));
    auto* save = MakeButton("SaveGenColorButton", tr("Зберегти палітру"), group);
    layout->addLayout(LibraryListRow(palettes_, save));
    connect(palettes_, &QComboBox::activated, this, &ColoursPage::GenColorComboBoxSelect);
    connect(palettes_, &QComboBox::editTextChanged, this, &ColoursPage::ListTextChanged);
    connect(save, &QPushButton::clicked, this,
            [this] { SaveList(palettes_, kGenPaletteExtension, &SaveGenPalette); });

    auto* countRow = new QFormLayout;
    countRow->setContentsMargins(0, 0, 0, 0);
    count_ = MakeUpDown("IntCountColor", "StringCountColor", 1, kPaletteSize, group);
    count_->setToolTip(tr("Скільки кольорів палітри вживається, далі вони повторюються"));
    countRow->addRow(MakeLabel("Label31", tr("Кольорів"), group), count_);
    layout->addLayout(countRow);
    Session& session = window_.session();
    window_.bindings().Int(
        count_, [&session] { return session.settings().Colours.GenColourCount; },
        [&session](int n) { SetGenColourCount(session.settings().Colours, n); },
        [this] { RepaintUnlessRunning(); });

    editor_ = new PaletteEditor(
        colours_, [this](Colour initial) { return PickColour(initial); }, group);
    editor_->setToolTip(tr("Клацніть колір, щоб змінити його, права кнопка — заповнення"));
    layout->addWidget(MakeLabel("Label104", tr("Редактор палітри"), group));
    layout->addWidget(editor_);
    connect(editor_, &PaletteEditor::PaletteEdited, this, [this] {
        RepaintUnlessRunning();
        ModelEdited();
    });
}

std::optional<Colour> ColoursPage::PickColour(Colour initial) {
    if (!dialog_) {
        dialog_ = new QColorDialog(this);
        dialog_->setObjectName("ColorDialog1");
        dialog_->setOption(QColorDialog::DontUseNativeDialog);
    }
    dialog_->setCurrentColor(QColor::fromRgb(ToRgb(initial)));
    if (dialog_->exec() != QDialog::Accepted)
        return std::nullopt;
    return FromRgb(dialog_->selectedColor().rgb());
}

// CellColorBoxChange, BGColorBoxChange, GridColorBoxChange (both grid boxes),
// BirthColorBoxChange, DeadColorBoxChange: the box's colour is in the model.
void ColoursPage::ColourBoxChange(const SchemeBox& box) {
    if (box.member == &ColourModel::CellColour)
        SetCellColour(colours_, colours_.CellColour);  // the state colours follow
    const bool grid =
        box.member == &ColourModel::GridColour || box.member == &ColourModel::BigGridColour;
    // The grid takes its new colour at once, even while a run paints the cells.
    if (grid && window_.session().settings().Grid)
        window_.fieldView().RedrawView();
    else
        RepaintUnlessRunning();
    ModelEdited();
}

void ColoursPage::ColorComboBoxSelect(int index) {
    const std::string entry = ToStd(schemes_->itemText(index));
    window_.session().Run(
        [&] { SelectColourScheme(colours_, window_.session().folder().Color(), index, entry); });
    RepaintUnlessRunning();
    ModelEdited();
    setFocus();
}

void ColoursPage::GenColorComboBoxSelect(int index) {
    // The entry is taken before the lists are refreshed: a file added or removed
    // meanwhile moves the others, and the palette chosen is the one loaded.
    const QString entry = palettes_->itemText(index);
    const int builtIns = static_cast<int>(BuiltInGenPalettes().size());
    RefreshPaletteLists();
    if (index >= builtIns) {
        const QSignalBlocker block(palettes_);
        palettes_->setEditText(entry);
    }
    window_.session().Run([&] {
        SelectGenPalette(colours_, window_.session().folder().Color(), index, ToStd(entry));
    });
    RepaintUnlessRunning();
    ModelEdited();
    setFocus();
}

void ColoursPage::SaveList(QComboBox* list, std::string_view extension, SaveCommand save) {
    Session& session = window_.session();
    QString name = list->currentText();
    if (name.isEmpty()) {
        name = ToQString(DefaultPaletteName(list->count()));
        list->setEditText(name);
    }
    const std::filesystem::path folder = session.folder().Color();
    const std::string fileName = ToStd(name);
    if (PaletteFileExists(folder, fileName, extension) && !ConfirmOverwrite(this)) {
        list->setFocus();
        return;
    }
    if (!session.Run([&] { save(colours_, folder, fileName); }))
        return;
    RefreshPaletteLists();
    if (auto* pages = window_.findChild<QTabWidget*>("PageControl1"))
        pages->setFocus();
}

void ColoursPage::FillLists() {
    const PaletteFileNames files = ListPaletteFiles(window_.session().folder().Color());
    FillLibraryList(schemes_, static_cast<int>(BuiltInColourSchemes().size()), files.ColourSchemes);
    FillLibraryList(palettes_, static_cast<int>(BuiltInGenPalettes().size()), files.GenPalettes);
}

void ColoursPage::RefreshPaletteLists() {
    FillLists();
    ListTextChanged();  // the entry shown may have moved
}

// The texts of both lists and the entry the scheme list shows go into the
// settings file.
void ColoursPage::ListTextChanged() {
    Settings& s = window_.session().settings();
    s.ColorComboBoxText = ToStd(schemes_->currentText());
    s.ColorComboBoxIndex = schemes_->findText(schemes_->currentText());
    s.GenColorComboBoxText = ToStd(palettes_->currentText());
}

void ColoursPage::RefreshFromModel() {
    for (const SchemeBox& box : boxes_)
        ShowColour(box.button, colours_.*box.member);
    const std::pair<QCheckBox*, bool> switches[] = {{showBirth_, colours_.ShowBirthCells},
                                                    {showDead_, colours_.ShowDeadCells},
                                                    {colorOn_, colours_.ColorOn},
                                                    {colorMode_, colours_.ColorMode}};
    for (const auto& [box, on] : switches) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    colorMode_->setText(LanguageText(colours_.ColorMode ? kColourByBirth : kColourByAge));
    editor_->Refresh();

    // A loaded settings file names what the lists showed; nothing is applied
    // from them (the colours came with the file). A name still listed is
    // selected, else the stored index, else the name is only shown.
    const Settings& s = window_.session().settings();
    const QString schemeText = ToQString(s.ColorComboBoxText);
    if (schemes_->currentText() != schemeText) {
        const QSignalBlocker block(schemes_);
        const int found = schemes_->findText(schemeText);
        if (found >= 0)
            schemes_->setCurrentIndex(found);
        else if (s.ColorComboBoxIndex >= 0 && s.ColorComboBoxIndex < schemes_->count())
            schemes_->setCurrentIndex(s.ColorComboBoxIndex);
        else
            schemes_->setEditText(schemeText);
    }
    const QString paletteText = ToQString(s.GenColorComboBoxText);
    if (palettes_->currentText() != paletteText) {
        const QSignalBlocker block(palettes_);
        const int found = palettes_->findText(paletteText);
        if (found >= 0)
            palettes_->setCurrentIndex(found);
        else
            palettes_->setEditText(paletteText);
    }
    ListTextChanged();  // the stored index names the entry shown
    ShowStartOfText(schemes_);
    ShowStartOfText(palettes_);
}

void ColoursPage::RepaintUnlessRunning() {
    if (!window_.runControl().Running())
        window_.fieldView().RedrawView();
}

void ColoursPage::ModelEdited() {
    window_.bindings().Refresh();
}

void ColorOnClick(MainWindow& window, bool on) {
    SetColorOn(window.session().settings().Colours, on);
    if (!window.runControl().Running())
        window.fieldView().RedrawView();
    window.bindings().Refresh();
}

}  // namespace zentorix::app
