#include "app/landscape_page.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <filesystem>
#include <functional>

#include "app/library_list.h"
#include "app/main_window.h"
#include "engine/field_regions.h"
#include "formats/layer_files.h"

namespace zentorix::app {

namespace {

// Entries of the copy lists, in the order of the layer numbers.
QStringList LayerNames() {
    return {QObject::tr("Головна область"), QObject::tr("Вічне життя"), QObject::tr("Вічна смерть"),
            QObject::tr("Інша реальність")};
}

}  // namespace

QString GenerationsLabel(const LandscapeTexts& texts, const QString& prefix, int count) {
    bool number = false;
    int threshold = texts.threshold.trimmed().toInt(&number);
    if (!number)
        threshold = 5;  // a language file without a usable number keeps the built-in one
    return prefix + QString::number(count) + (count >= threshold ? texts.manyWord : texts.fewWord);
}

LandscapePage::LandscapePage(MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setObjectName("Landscape");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    pages_ = new QTabWidget(this);
    pages_->setObjectName("LandPageControl");
    pages_->setDocumentMode(true);
    pages_->addTab(BuildControlPage(), tr("Області"));
    pages_->addTab(BuildEditPage(), tr("Правка"));
    layout->addWidget(pages_);
    layout->addStretch(1);
    connect(pages_, &QTabWidget::currentChanged, this,
            [&window](int index) { window.session().settings().PagesOpen2 = index; });

    RunControl& run = window.runControl();
    connect(&run, &RunControl::OtherRealitySpeedChanged, this,
            &LandscapePage::ShowOtherRealitySpeed);
    connect(&run, &RunControl::OtherRealityStateChanged, this,
            &LandscapePage::ShowOtherRealityRunning);
    RefreshLayerFileLists();
    window.bindings().OnRefresh([this] { RefreshFromModel(); });
    RefreshFromModel();
}

QWidget* LandscapePage::BuildControlPage() {
    auto* page = new QWidget;
    page->setObjectName("LandControl");
    auto* layout = MakeColumn(page);
    layout->addWidget(BuildEternalGroup(page, true));
    layout->addWidget(BuildEternalGroup(page, false));
    layout->addWidget(BuildOtherRealityGroup(page));
    layout->addStretch(1);
    return page;
}

QWidget* LandscapePage::BuildEternalGroup(QWidget* parent, bool life) {
    Bindings& bind = window_.bindings();
    FieldView& view = window_.fieldView();
    QGroupBox* group = life ? MakeGroup("Label65", tr("Вічне життя"), parent)
                            : MakeGroup("Label78", tr("Вічна смерть"), parent);
    auto* layout = MakeColumn(group);
    auto* on = MakeCheckBox(life ? "EternalLifeOn" : "EternalDeadOn", tr("Діє"), group);
    on->setToolTip(life ? tr("Позначені клітини народжуються в ритмі нижче")
                        : tr("Позначені клітини гинуть у ритмі нижче"));
    // The status-bar twin follows through the binding's refresh.
    bind.Check(on, life ? &Settings::EternalLifeOn : &Settings::EternalDeadOn,
               [&view] { view.RedrawView(); });
    layout->addWidget(on);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    struct Rhythm {
        const char* upDown;
        const char* edit;
        const char* label;
        QString tip;
    };
    const Rhythm rhythms[2][2] = {
        {{"IntEternalLifePeriod", "StringEternalLifePeriod", "EternalLifePeriodLabel",
          tr("Довжина циклу в поколіннях")},
         {"IntEternalLifeIntensity", "StringEternalLifeIntensity", "EternalLifeIntensityLabel",
          tr("Скільки поколінь циклу шар діє")}},
        {{"IntEternalDeadPeriod", "StringEternalDeadPeriod", "EternalDeadPeriodLabel",
          tr("Довжина циклу в поколіннях")},
         {"IntEternalDeadIntensity", "StringEternalDeadIntensity", "EternalDeadIntensityLabel",
          tr("Скільки поколінь циклу шар діє")}}};
    const int base = life ? 0 : 2;
    for (int i = 0; i < 2; ++i) {
        const Rhythm& r = rhythms[life ? 0 : 1][i];
        QSpinBox* spin = MakeUpDown(r.upDown, r.edit, 1, 100, group);
        spin->setToolTip(r.tip);
        QLabel* label = MakeLabel(r.label, QString(), group);
        rhythmLabels_[base + i] = label;
        // The label is rebuilt by the refresh that follows every change.
        if (life)
            bind.UpDown(spin,
                        i == 0 ? &Settings::EternalLifePeriod : &Settings::EternalLifeIntensity);
        else
            bind.UpDown(spin,
                        i == 0 ? &Settings::EternalDeadPeriod : &Settings::EternalDeadIntensity);
        grid->addWidget(spin, i, 0);
        grid->addWidget(label, i, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    if (life)
        AddLibraryRow(group, layout, Layer::EternalLife, "EternalLifeComboBox",
                      "SaveEternalLifeButton");
    else
        AddLibraryRow(group, layout, Layer::EternalDead, "EternalDeadComboBox",
                      "SaveEternalDeadButton");
    return group;
}

QWidget* LandscapePage::BuildOtherRealityGroup(QWidget* parent) {
    Bindings& bind = window_.bindings();
    FieldView& view = window_.fieldView();
    RunControl& run = window_.runControl();
    QGroupBox* group = MakeGroup("Label83", tr("Інша реальність"), parent);
    auto* layout = MakeColumn(group);

    // FeedBackClick: the three switches; the view shows the area's new role.
    auto redraw = [&view] { view.RedrawView(); };
    auto* on = MakeCheckBox("OtherRealityOn", tr("Діє"), group);
    on->setToolTip(tr("Під живими клітинами області головне поле живе за \"іншими законами\""));
    bind.Check(on, &Settings::OtherRealityOn, redraw);
    // Stored in files but read by no step, as on the original form: shown disabled.
    auto* feedBack = MakeCheckBox("FeedBack", tr("Зворотний зв'язок"), group);
    bind.Check(feedBack, &Settings::FeedBack, redraw);
    feedBack->setEnabled(false);
    auto* sync = MakeCheckBox("Synchronization", tr("Синхронізація"), group);
    bind.Check(sync, &Settings::Synchronization, redraw);
    sync->setEnabled(false);
    for (QWidget* w :
         {static_cast<QWidget*>(on), static_cast<QWidget*>(feedBack), static_cast<QWidget*>(sync)})
        layout->addWidget(w);

    auto* speedRow = new QHBoxLayout;
    speedRow->setSpacing(2);
    speed_ = new QSlider(Qt::Horizontal, group);
    speed_->setObjectName("SpeedOtherReality");
    speed_->setRange(1, 1500);
    speed_->setToolTip(tr("Інтервал між кроками області, мс"));
    connect(speed_, &QSlider::valueChanged, &run, &RunControl::SetOtherRealitySpeed);
    speedPanel_ = MakeLabel("InfoSpeedORPanel", QString(), group);
    speedPanel_->setMinimumWidth(speedPanel_->fontMetrics().horizontalAdvance("1500ms  "));
    speedRow->addWidget(speed_, 1);
    speedRow->addWidget(speedPanel_);
    layout->addLayout(speedRow);

    auto* runRow = new QHBoxLayout;
    runRow->setSpacing(2);
    runButtons_[0] = MakeToolButton("SpeedButton2", QStringLiteral("▶"), true, group);
    runButtons_[0]->setToolTip(tr("Хід області: пуск / пауза"));
    auto* stop = MakeToolButton("SpeedButton4", QStringLiteral("■"), false, group);
    stop->setToolTip(tr("Зупинити область"));
    auto* step = MakeToolButton("SpeedButton5", tr("Крок"), false, group);
    step->setToolTip(tr("Один крок області"));
    connect(runButtons_[0], &QToolButton::clicked, &run, &RunControl::SetOtherRealityRunning);
    connect(stop, &QToolButton::clicked, &run, [&run] { run.SetOtherRealityRunning(false); });
    connect(step, &QToolButton::clicked, this, &LandscapePage::OtherRealityStepClick);
    for (QToolButton* b : {runButtons_[0], stop, step})
        runRow->addWidget(b);
    runRow->addStretch(1);
    layout->addLayout(runRow);

    AddLibraryRow(group, layout, Layer::OtherReality, "RulesComboBoxOR", "SaveRulesButtonOR");
    return group;
}

void LandscapePage::AddLibraryRow(QWidget* parent, QBoxLayout* layout, Layer layer,
                                  const char* listName, const char* saveName) {
    QComboBox* list = MakeLibraryList(listName, parent);
    list->setToolTip(
        tr("Бібліотека шару: вибір завантажує файл, кнопка зберігає під цим "
           "іменем"));
    auto* save = MakeButton(saveName, tr("Зберегти шар"), parent);
    layout->addLayout(LibraryListRow(list, save));
    const int index = libraryCount_++;
    libraries_[index] = {layer, list};
    connect(list, &QComboBox::activated, this,
            [this, index](int entry) { LoadLayer(libraries_[index], entry); });
    connect(save, &QPushButton::clicked, this, [this, index] { SaveLayer(libraries_[index]); });
}

QWidget* LandscapePage::BuildEditPage() {
    Session& session = window_.session();
    Bindings& bind = window_.bindings();
    FieldView& view = window_.fieldView();
    auto* page = new QWidget;
    page->setObjectName("LandEdit");
    auto* layout = MakeColumn(page);

    struct Target {
        const char* name;
        bool Settings::*member;
    };
    const QStringList layers = LayerNames();
    auto targetGroup = [&](const char* groupName, const QString& title,
                           const std::array<Target, 4>& targets, std::function<void()> changed) {
        QGroupBox* group = MakeGroup(groupName, title, page);
        auto* column = MakeColumn(group);
        for (int i = 0; i < 4; ++i) {
            auto* box = MakeCheckBox(targets[i].name, layers[i], group);
            bind.Check(box, targets[i].member, changed);
            column->addWidget(box);
        }
        layout->addWidget(group);
        return group;
    };
    // Paint targets have twins on the status bar; the binding keeps them equal.
    targetGroup("Label82", tr("Малювати в"),
                {{{"MainLifePaint", &Settings::MainLifePaint},
                  {"EternalLifePaint", &Settings::EternalLifePaint},
                  {"EternalDeadPaint", &Settings::EternalDeadPaint},
                  {"OtherRealPaint", &Settings::OtherRealPaint}}},
                {});
    targetGroup("Label49", tr("Показувати"),
                {{{"MainLifeRefresh", &Settings::MainLifeRefresh},
                  {"EternalLifeRefresh", &Settings::EternalLifeRefresh},
                  {"EternalDeadRefresh", &Settings::EternalDeadRefresh},
                  {"OtherRealRefresh", &Settings::OtherRealRefresh}}},
                [&view] { view.RedrawView(); });
    targetGroup("Label66", tr("Стирати в"),
                {{{"MainLifeErase", &Settings::MainLifeErase},
                  {"EternalLifeErase", &Settings::EternalLifeErase},
                  {"EternalDeadErase", &Settings::EternalDeadErase},
                  {"OtherRealErase", &Settings::OtherRealErase}}},
                {});

    QGroupBox* copy = MakeGroup("Label3", tr("Копіювати шар"), page);
    auto* copyForm = new QFormLayout(copy);
    copyForm->setContentsMargins(4, 4, 4, 4);
    copyForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto* from = MakeComboBox("CopyFromComboBox", layers, copy);
    auto* to = MakeComboBox("CopyToComboBox", layers, copy);
    bind.Combo(from, &Settings::CopyFromComboBox);
    bind.Combo(to, &Settings::CopyToComboBox);
    copyForm->addRow(MakeLabel("Label30", tr("з"), copy), from);
    copyForm->addRow(MakeLabel("Label38", tr("в"), copy), to);
    auto* copyButton = MakeButton("CopyFieldButton", tr("Копіювати"), copy);
    connect(copyButton, &QPushButton::clicked, this, [&session, &view] {
        CopyFieldButtonClick(session.world(), session.settings());
        view.RedrawView();
    });
    copyForm->addRow(copyButton);
    layout->addWidget(copy);

    targetGroup("Label96", tr("Випадкове заповнення"),
                {{{"MainFillRandom", &Settings::MainFillRandom},
                  {"EtenalLifeFillRandom", &Settings::EtenalLifeFillRandom},
                  {"EtenalDeadFillRandom", &Settings::EtenalDeadFillRandom},
                  {"OtherRealFillRandom", &Settings::OtherRealFillRandom}}},
                {});
    auto* fillForm = new QFormLayout;
    fillForm->setContentsMargins(4, 0, 4, 0);
    auto* intensity =
        MakeUpDown("IntRandomFillIntensity", "StringRandomFillIntensity", 0, 100, page);
    intensity->setToolTip(
        tr("Під час ходу: шанс на клітину в стотисячних (шари — в "
           "мільйонних), кнопка нижче — у відсотках"));
    bind.UpDown(intensity, &Settings::RandomFillIntensity);
    auto* period = MakeUpDown("IntRandomFillPeriod", "StringRandomFillPeriod", 1, 100, page);
    period->setToolTip(tr("Заповнювати під час ходу кожне стільки-то покоління"));
    bind.UpDown(period, &Settings::RandomFillPeriod);
    fillForm->addRow(MakeLabel("Label97", tr("Інтенсивність"), page), intensity);
    fillForm->addRow(MakeLabel("Label98", tr("Період"), page), period);
    layout->addLayout(fillForm);
    auto* fill = MakeButton("FillRandomButton", tr("Заповнити"), page);
    fill->setToolTip(tr("Заповнити вибрані шари зараз, з інтенсивністю у відсотках"));
    connect(fill, &QPushButton::clicked, this, &LandscapePage::FillRandomButtonClick);
    layout->addWidget(fill);

    // The Other Reality's run and step, also at hand while editing the area.
    auto* runRow = new QHBoxLayout;
    runRow->setSpacing(2);
    runButtons_[1] = MakeToolButton("SpeedButton10", tr("▶ Область"), true, page);
    runButtons_[1]->setToolTip(tr("Хід іншої реальності: пуск / пауза"));
    RunControl& run = window_.runControl();
    connect(runButtons_[1], &QToolButton::clicked, &run, &RunControl::SetOtherRealityRunning);
    auto* step = MakeToolButton("SpeedButton12", tr("Крок"), false, page);
    step->setToolTip(tr("Один крок іншої реальності"));
    connect(step, &QToolButton::clicked, this, &LandscapePage::OtherRealityStepClick);
    runRow->addWidget(runButtons_[1]);
    runRow->addWidget(step);
    runRow->addStretch(1);
    layout->addLayout(runRow);
    layout->addStretch(1);
    return page;
}

void LandscapePage::SetTexts(const LandscapeTexts& texts) {
    texts_ = texts;
    RebuildLabels();
}

void LandscapePage::RebuildLabels() {
    const Settings& s = window_.session().settings();
    const int values[4] = {s.EternalLifePeriod, s.EternalLifeIntensity, s.EternalDeadPeriod,
                           s.EternalDeadIntensity};
    for (int i = 0; i < 4; ++i) {
        const QString& prefix = i % 2 == 0 ? texts_.periodPrefix : texts_.intensityPrefix;
        rhythmLabels_[i]->setText(GenerationsLabel(texts_, prefix, values[i]));
    }
}

void LandscapePage::ShowOtherRealitySpeed(int speed) {
    {
        const QSignalBlocker block(speed_);
        speed_->setValue(speed);
    }
    speedPanel_->setText(QStringLiteral("%1ms  ").arg(speed));
}

void LandscapePage::ShowOtherRealityRunning(bool running) {
    for (QToolButton* b : runButtons_) {
        const QSignalBlocker block(b);
        b->setChecked(running);
    }
}

void LandscapePage::OtherRealityStepClick() {
    window_.runControl().OtherRealityStepOnce();
    // A step by hand is to be seen; a running field repaints itself.
    if (!window_.runControl().Running())
        window_.fieldView().RedrawView();
}

void LandscapePage::FillRandomButtonClick() {
    Session& session = window_.session();
    window_.TakeUndoSnapshot();  // a fill of the whole field is undone as one step
    FillRegion(session.world(), session.settings(), WholeFieldRect(session.world()),
               FillTargets::RandomFill, session.settings().RandomFillIntensity);
    window_.fieldView().RedrawView();
}

void LandscapePage::RefreshLayerFileLists() {
    const ProgramFolder& folder = window_.session().folder();
    for (int i = 0; i < libraryCount_; ++i)
        FillLibraryList(libraries_[i].list, 0, ListLayerFiles(folder, libraries_[i].layer));
}

void LandscapePage::LoadLayer(const LayerLibrary& library, int index) {
    Session& session = window_.session();
    const std::string name = ToStd(library.list->itemText(index));
    session.Run([&] {
        LoadLayerFile(session.world(), session.settings(), session.folder(), library.layer, name);
    });
    // Switches, rhythm, speed, rule set 1 and the layer; keys read before a
    // malformed line stay applied, so the controls follow in any case.
    emit session.ModelChanged();
}

void LandscapePage::SaveLayer(const LayerLibrary& library) {
    Session& session = window_.session();
    QString name = library.list->currentText().trimmed();
    if (name.isEmpty()) {
        name = ToQString(DefaultLayerFileName(library.layer, library.list->count()));
        const QSignalBlocker block(library.list);
        library.list->setEditText(name);
    }
    const std::string fileName = ToStd(name);
    std::error_code ec;
    if (std::filesystem::exists(LayerFilePath(session.folder(), library.layer, fileName), ec) &&
        !ConfirmOverwrite(this)) {
        library.list->setFocus();
        return;
    }
    if (!session.Run([&] {
            SaveLayerFile(session.world(), session.settings(), session.folder(), library.layer,
                          fileName);
        }))
        return;
    RefreshLayerFileLists();
}

void LandscapePage::RefreshFromModel() {
    const Settings& s = window_.session().settings();
    RebuildLabels();
    // Timer2 takes a speed that came with a file. The slider always shows
    // Timer2's interval; a running timer is not restarted for nothing.
    if (speedPanel_->text().isEmpty() || speed_->value() != s.SpeedOtherReality)
        window_.runControl().SetOtherRealitySpeed(s.SpeedOtherReality);  // shown by its signal
    ShowOtherRealityRunning(window_.runControl().OtherRealityRunning());
    const QSignalBlocker block(pages_);
    pages_->setCurrentIndex(std::min(static_cast<int>(s.PagesOpen2), pages_->count() - 1));
}

}  // namespace zentorix::app
