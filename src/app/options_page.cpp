#include "app/options_page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QSlider>
#include <QVBoxLayout>

#include "app/bindings.h"
#include "app/edit_commands.h"
#include "app/main_window.h"

namespace zentorix::app {

OptionsPage::OptionsPage(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("MainOptions");
    Session& session = window.session();
    Bindings& bind = window.bindings();
    FieldView& view = window.fieldView();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);

    auto* torus = MakeCheckBox("EnableTOR", tr("Тор (замкнене поле)"), this);
    bind.Check(torus, &Settings::EnableTOR,
               [&view] { emit view.ViewStatusChanged(view.ViewStatusText()); });
    auto* autoStop = MakeCheckBox("AutoStop", tr("Зупинка, коли все вимерло"), this);
    bind.Check(autoStop, &Settings::AutoStop);
    auto* transparent = MakeCheckBox("TransparentMode", tr("Прозоре перенесення"), this);
    bind.Check(transparent, &Settings::TransparentMode);
    auto* hints = MakeCheckBox("ShowHints", tr("Підказки"), this);
    bind.Check(hints, &Settings::ShowHints);
    auto* saveField = MakeCheckBox("SaveFieldWhenExit", tr("Зберігати поле при виході"), this);
    bind.Check(saveField, &Settings::SaveFieldWhenExit);
    // Captions over the check boxes rather than frames round them: the panel is
    // too narrow for the longest caption inside a frame.
    layout->addWidget(MakeLabel("Label16", tr("Опції"), this));
    layout->addWidget(hints);
    layout->addWidget(transparent);
    layout->addWidget(MakeLabel("Label76", tr("Поле"), this));
    for (QCheckBox* box : {torus, autoStop, saveField})
        layout->addWidget(box);
    layout->addWidget(BuildTransformButtons(window, this));

    auto* sizeBox = new QGroupBox(tr("Розмір поля"), this);
    sizeBox->setObjectName("Label12");
    auto* form = new QFormLayout(sizeBox);
    width_ = MakeUpDown("UpDown2", "Edit12", kMinFieldSize, kMaxFieldSize, sizeBox);
    height_ = MakeUpDown("UpDown3", "Edit13", kMinFieldSize, kMaxFieldSize, sizeBox);
    width_->setSingleStep(20);
    height_->setSingleStep(20);
    form->addRow(tr("Ширина"), width_);
    form->addRow(tr("Висота"), height_);
    bind.Int(
        width_, [&session] { return session.world().FieldWidth(); },
        [&session](int v) { session.world().SetFieldWidth(v); }, [this] { ApplyFieldSize(); });
    bind.Int(
        height_, [&session] { return session.world().FieldHeight(); },
        [&session](int v) { session.world().SetFieldHeight(v); }, [this] { ApplyFieldSize(); });
    layout->addWidget(sizeBox);

    auto* gridBox = new QGroupBox(tr("Сітка"), this);
    gridBox->setObjectName("Label56");
    auto* gridForm = new QFormLayout(gridBox);
    auto* bigGrid = MakeUpDown("IntSizeBigGrid", "StringSizeBigGrid", 0, 155, gridBox);
    bind.UpDown(bigGrid, &Settings::SizeBigGrid, [&view] { view.RedrawView(); });
    gridForm->addRow(tr("Крок великої сітки"), bigGrid);
    cellGap_ = new QSlider(Qt::Horizontal, gridBox);
    cellGap_->setObjectName("SizeCellsTrackBar");
    cellGap_->setRange(1, session.settings().CellSize);
    connect(cellGap_, &QSlider::valueChanged, this, [&view](int gap) { view.SetCellGap(gap); });
    connect(&view, &FieldView::CellGapChanged, this, [this](int gap, int maximum) {
        const QSignalBlocker block(cellGap_);
        cellGap_->setMaximum(maximum);
        cellGap_->setValue(gap);
    });
    bind.OnRefresh([this, &session] {
        const QSignalBlocker block(cellGap_);
        cellGap_->setMaximum(session.settings().CellSize);
        cellGap_->setValue(session.settings().SizeCells);
    });
    gridForm->addRow(tr("Проміжок"), cellGap_);
    layout->addWidget(gridBox);

    // How many pictures the tool bar's snapshot series takes.
    auto* snapshots = new QGroupBox(tr("Знімки"), this);
    snapshots->setObjectName("Label19");
    auto* snapshotForm = new QFormLayout(snapshots);
    auto* count = MakeUpDown("UpDown1", "Edit10", 1, 500, snapshots);
    count->setValue(10);
    snapshotForm->addRow(MakeLabel("Label84", tr("Кількість знімків"), snapshots), count);
    // A short caption keeps the tool panel narrow; the tooltip says the rest.
    auto* gif = MakeCheckBox("SnapshotGif", tr("Анімація GIF"), snapshots);
    gif->setToolTip(tr("Одна анімація GIF замість знімків BMP"));
    snapshotForm->addRow(gif);
    layout->addWidget(snapshots);

    auto* timing = MakeButton("Button1", tr("Час 100 кроків"), this);
    timing->setToolTip(tr("Сто кроків без зупинки, напис показує мілісекунди"));
    connect(timing, &QPushButton::clicked, this, [&window, timing] {
        timing->setText(QString::number(window.runControl().TimeHundredSteps()));
    });
    layout->addWidget(timing);
    layout->addStretch(1);
}

void OptionsPage::ApplyFieldSize() {
    window_.fieldView().FitToField();
}

}  // namespace zentorix::app
