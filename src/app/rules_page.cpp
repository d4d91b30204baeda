#include "app/rules_page.h"

#include <QDockWidget>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "app/bindings.h"
#include "app/library_list.h"
#include "app/main_window.h"
#include "app/panel_docks.h"
#include "app/status_panels.h"
#include "app/weight_grid.h"
#include "formats/rule_file.h"
#include "formats/rules_list.h"
#include "rules/preset_catalogue.h"
#include "rules/rule_editor.h"
#include "rules/typed_rule.h"

namespace zentorix::app {

namespace {

void ShowText(QLineEdit* edit, const std::string& text) {
    // Setting the same text again would move the cursor of someone typing.
    const QString shown = ToQString(text);
    if (edit->text() != shown) {
        const QSignalBlocker block(edit);
        edit->setText(shown);
        // A long rule reads from its start unless someone is typing in it.
        if (!edit->hasFocus())
            edit->setCursorPosition(0);
    }
}

void ShowText(QPlainTextEdit* edit, const QString& text) {
    if (edit->toPlainText() != text) {
        const QSignalBlocker block(edit);
        edit->setPlainText(text);
    }
}

void ShowValue(QSpinBox* spin, int value, int min, int max) {
    const QSignalBlocker block(spin);
    // A rule text may hold a weight beyond what the arrows offer; it is shown
    // as it is, and the first step brings it back into range.
    spin->setRange(std::min(min, value), std::max(max, value));
    spin->setValue(value);
}

void ShowChecked(QCheckBox* box, bool on) {
    const QSignalBlocker block(box);
    box->setChecked(on);
}

void ShowIndex(QComboBox* combo, int index) {
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

// The lists take names only from their entries; typing never completes one.
void PlainNameList(QComboBox* list, int rows) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->setMaxVisibleItems(rows);
}

}  // namespace

template <typename Change>
void RulesPage::Edit(Change&& change) {
    World& world = window_.session().world();
    world.Editor.BirthListCut = world.Editor.SurvivalListCut = false;
    change(world);
    ShowEditor();
    const bool birth = world.Editor.BirthListCut;
    if (!birth && !world.Editor.SurvivalListCut)
        return;
    if (auto* status = window_.findChild<QStatusBar*>("StatusBar1"))
        status->showMessage(tr("Список %1 дає понад %2 сум: узято перші %2")
                                .arg(birth ? tr("народження") : tr("виживання"))
                                .arg(kMaxListEntries),
                            10000);
}

RulesPage::RulesPage(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("TabSheet3");
    auto* layout = MakeColumn(this, 2);
    layout->addWidget(BuildListsGroup());
    layout->addWidget(BuildWeightsGroup());
    layout->addWidget(BuildHistoryGroup());
    auto* sums = MakeLabel("Label59", tr("Народження / виживання"), this);
    sums->setAlignment(Qt::AlignHCenter);
    layout->addWidget(sums);
    layout->addWidget(BuildSumsGroup(true));
    auto* swap = MakeToolButton("SpeedButton9", QStringLiteral("⇅"), false, this);
    swap->setToolTip(tr("Поміняти місцями народження і виживання"));
    connect(swap, &QToolButton::clicked, this, [this] { Edit(SwapBirthSurvival); });
    layout->addWidget(swap, 0, Qt::AlignHCenter);
    layout->addWidget(BuildSumsGroup(false));
    layout->addWidget(BuildInformationGroup());
    layout->addStretch(1);
    RefreshRuleFileList();
    window.bindings().OnRefresh([this] { FollowModel(); });
    ShowEditor();
}

QWidget* RulesPage::BuildListsGroup() {
    Session& session = window_.session();
    auto* group = MakeGroup("Label2", tr("Правила"), this);
    auto* layout = MakeColumn(group, 2);
    layout->addWidget(MakeLabel("Label74", tr("Набір правил"), group));
    selector_ = MakeComboBox(
        "RulesSelectorBox",
        {tr("Головна область"), tr("\"Інші закони\""), tr("Область \"інших законів\"")}, group);
    selector_->setToolTip(tr("Який з трьох наборів правил редагується"));
    connect(selector_, &QComboBox::activated, this, [this, &session](int index) {
        session.settings().RulesSelectorBox = index;
        Edit([index](World& world) { SelectEditedRuleSet(world, index); });
    });
    layout->addWidget(selector_);

    rulesList_ = MakeLibraryList("RulesComboBox", group);
    PlainNameList(rulesList_, 30);
    rulesList_->setToolTip(
        tr("Вбудовані правила і файли правил, а також ім'я, під яким зберігати"));
    for (int i = 0; i < BuiltInPresetCount; ++i)
        rulesList_->addItem(ToQString(std::string(PresetName(i))));
    rulesList_->setCurrentIndex(-1);
    connect(rulesList_, &QComboBox::activated, this, &RulesPage::ChooseRulesEntry);
    connect(rulesList_->lineEdit(), &QLineEdit::textEdited, this, [&session](const QString& text) {
        session.world().Editor.RulesComboBoxText = ToStd(text);
    });
    auto* save = MakeButton("SaveRules", tr("Зберегти правила"), group);
    connect(save, &QPushButton::clicked, this, &RulesPage::SaveRulesClick);
    layout->addLayout(LibraryListRow(rulesList_, save));

    typedRule_ = new QLineEdit(group);
    typedRule_->setObjectName("RuleTextEdit");
    typedRule_->setPlaceholderText(tr("B3/S23, 23/3, 345/2/4, NW1,…"));
    typedRule_->setToolTip(
        tr("Правило в записі Zentorix (NW1,NN1,…,RB3,RS2,RS3,), Generations (345/2/4, "
           "B2/S345/C4) чи OldLife (B3/S23, 23/3). Enter застосовує"));
    connect(typedRule_, &QLineEdit::returnPressed, this, &RulesPage::ReadTypedRule);
    layout->addWidget(typedRule_);
    return MakePanelDock("RulesSelectPanel", tr("Вибір правил"), group, this);
}

QWidget* RulesPage::BuildWeightsGroup() {
    Session& session = window_.session();
    auto* group = MakeGroup("Label15", tr("Область"), this);
    auto* layout = MakeColumn(group, 2);
    symmetric_ = MakeCheckBox("SymmetricRegion", tr("Симетрична"), group);
    symmetric_->setToolTip(tr("Зміна ваги змінює і симетричну клітину"));
    connect(symmetric_, &QCheckBox::clicked, this,
            [&session](bool on) { session.world().Editor.SymmetricRegion = on; });
    shape_ =
        MakeComboBox("ComboBox2",
                     {tr("Область Мура 3х3"), tr("Область Неймана 3х3"), tr("Область Мура 5х5"),
                      tr("Область Неймана 5х5"), tr("\"Шахова\" область 1"),
                      tr("\"Шахова\" область 2"), QStringLiteral(" ")},
                     group);
    connect(shape_, &QComboBox::activated, this,
            [this](int shape) { Edit([shape](World& w) { SelectNeighbourhoodShape(w, shape); }); });
    extended_ = MakeCheckBox("ExtRegion", tr("Область 5х5"), group);
    connect(extended_, &QCheckBox::clicked, this,
            [this](bool on) { Edit([on](World& w) { SetExtRegion(w, on); }); });
    weights_ = new WeightGrid(group);
    for (int pos = 0; pos < kPositionCount; ++pos)
        connect(weights_->box(pos), &QSpinBox::valueChanged, this, [this, pos](int value) {
            Edit([pos, value](World& w) { SetWeightBox(w, pos, value); });
        });
    layout->addWidget(symmetric_);
    layout->addWidget(shape_);
    layout->addWidget(extended_);
    layout->addWidget(weights_);
    return MakePanelDock("RegionPanel", tr("Область"), group, this);
}

QWidget* RulesPage::BuildHistoryGroup() {
    auto* group = MakeGroup("HistoryPanel", tr("Стани"), this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(2, 2, 2, 2);
    history_ = MakeCheckBox("HistoryOn", tr("Історія"), group);
    connect(history_, &QCheckBox::clicked, this,
            [this](bool on) { Edit([on](World& w) { SetHistoryOn(w, on); }); });
    historyRange_ = MakeUpDown("IntHistoryRange", "StringHistoryRange", 2, 256, group);
    historyRange_->setToolTip(tr("Кількість станів разом з порожнім"));
    connect(historyRange_, &QSpinBox::valueChanged, this,
            [this](int value) { Edit([value](World& w) { SetHistoryRangeBox(w, value); }); });
    delayOn_ = MakeCheckBox("DelayOn", tr("Затримка"), group);
    connect(delayOn_, &QCheckBox::clicked, this,
            [this](bool on) { Edit([on](World& w) { SetDelayOn(w, on); }); });
    delayValue_ = MakeUpDown("IntDelayRange", "Edit14", -256, -1, group);
    connect(delayValue_, &QSpinBox::valueChanged, this,
            [this](int value) { Edit([value](World& w) { SetDelayValue(w, value); }); });
    grid->addWidget(history_, 0, 0);
    grid->addWidget(historyRange_, 0, 1);
    grid->addWidget(delayOn_, 1, 0);
    grid->addWidget(delayValue_, 1, 1);
    return group;
}

QWidget* RulesPage::BuildSumsGroup(bool birth) {
    Session& session = window_.session();
    const int side = birth ? 0 : 1;
    auto* group = MakeGroup(birth ? "BirthPanel" : "SurvivalPanel",
                            birth ? tr("Народження") : tr("Виживання"), this);
    auto* layout = MakeColumn(group, 2);
    QLineEdit* text = listTexts_[side] = new QLineEdit(group);
    text->setObjectName(birth ? "BirthStr" : "SurvivalStr");
    text->setToolTip(tr("Суми через кому, кожна з комою в кінці. Enter застосовує"));
    text->installEventFilter(this);
    connect(text, &QLineEdit::textEdited, this, [&session, birth](const QString& value) {
        RuleEditorState& ed = session.world().Editor;
        (birth ? ed.BirthStr : ed.SurvivalStr) = ToStd(value);
    });
    layout->addWidget(text);

    auto* digits = new QGridLayout;
    digits->setSpacing(0);
    for (int d = 0; d <= 9; ++d) {
        const QByteArray name = QByteArray(birth ? "B" : "S") + QByteArray::number(d);
        QCheckBox* box = digitBoxes_[side][d] =
            MakeCheckBox(name.constData(), QString::number(d), group);
        connect(box, &QCheckBox::clicked, this, [this, birth, d](bool on) {
            Edit([birth, d, on](World& w) {
                (birth ? w.Editor.B : w.Editor.S)[static_cast<std::size_t>(d)] = on;
                birth ? BirthBoxesChanged(w) : SurvivalBoxesChanged(w);
            });
        });
        digits->addWidget(box, d / 5, d % 5);
    }
    layout->addLayout(digits);

    auto* range = new QHBoxLayout;
    const char* names[2][2][2] = {
        {{"MinBirth", "StringMinBirth"}, {"MaxBirth", "StringMaxBirth"}},
        {{"MinSurvival", "StringMinSurvival"}, {"MaxSurvival", "StringMaxSurvival"}}};
    for (int end = 0; end < 2; ++end) {
        ranges_[side][end] =
            MakeUpDown(names[side][end][0], names[side][end][1], kMinListSum, kMaxListSum, group);
        range->addWidget(ranges_[side][end]);
        connect(ranges_[side][end], &QSpinBox::valueChanged, this, [this, side, birth] {
            const int min = ranges_[side][0]->value(), max = ranges_[side][1]->value();
            Edit([birth, min, max](World& w) {
                birth ? SetBirthRange(w, min, max) : SetSurvivalRange(w, min, max);
            });
        });
    }
    ranges_[side][0]->setToolTip(tr("Від"));
    ranges_[side][1]->setToolTip(tr("До"));
    layout->addLayout(range);
    return group;
}

QWidget* RulesPage::BuildInformationGroup() {
    Session& session = window_.session();
    auto* group = MakeGroup("RulesInfoPanel", tr("Опис правила"), this);
    auto* layout = MakeColumn(group, 2);
    description_ = new QPlainTextEdit(group);
    description_->setObjectName("RulesDescription");
    description_->setFixedHeight(description_->fontMetrics().lineSpacing() * 6);
    connect(description_, &QPlainTextEdit::textChanged, this, [this, &session] {
        session.world().Editor.RulesDescription = DescriptionLines(description_->toPlainText());
    });
    memo_ = new QPlainTextEdit(group);
    memo_->setObjectName("ZentorixInfoMemo");
    memo_->setToolTip(tr("Ім'я, характер, родина, автор"));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFixedHeight(memo_->fontMetrics().lineSpacing() * 5);
    connect(memo_, &QPlainTextEdit::textChanged, this, &RulesPage::MemoEdited);
    layout->addWidget(description_);
    layout->addWidget(memo_);
    return group;
}

void RulesPage::AttachToolBarList(QComboBox* list) {
    toolBarList_ = list;
    const QSignalBlocker block(list);
    list->clear();
    PlainNameList(list, 30);
    for (int i = 0; i < BuiltInPresetCount; ++i)
        list->addItem(ToQString(std::string(PresetName(i))));
    list->setCurrentIndex(-1);
    list->setEditText(rulesList_->currentText());
    connect(list, &QComboBox::activated, this, [this](int index) {
        const auto position = RulesListPosition(ToStd(toolBarList_->itemText(index)), ruleFiles_);
        if (!position)
            return;
        ShowIndex(rulesList_, *position);
        ChooseRulesEntry(*position);
    });
}

void RulesPage::FollowModel() {
    World& world = window_.session().world();
    const int chosen = window_.session().settings().RulesSelectorBox;
    // A file read sets the list; the editor follows it to the rule set it names.
    if (chosen != world.Editor.EditedRuleSet)
        SelectEditedRuleSet(world, chosen);
    ShowEditor();
}

void RulesPage::ShowEditor() {
    const RuleEditorState& ed = window_.session().world().Editor;
    ShowIndex(selector_, ed.EditedRuleSet);
    if (rulesList_->currentText() != ToQString(ed.RulesComboBoxText)) {
        const QSignalBlocker block(rulesList_);
        rulesList_->setEditText(ToQString(ed.RulesComboBoxText));
        ShowStartOfText(rulesList_);
    }
    // Both rule lists name the rule in use; the typed-rule box spells it.
    if (toolBarList_ && toolBarList_->currentText() != rulesList_->currentText()) {
        const QSignalBlocker block(toolBarList_);
        toolBarList_->setEditText(rulesList_->currentText());
        ShowStartOfText(toolBarList_);
    }
    ShowText(typedRule_, ed.InfoEdit);
    for (int pos = 0; pos < kPositionCount; ++pos)
        ShowValue(weights_->box(pos), ed.WeightBoxes[static_cast<std::size_t>(pos)], kMinWeightBox,
                  kMaxWeightBox);
    ShowChecked(symmetric_, ed.SymmetricRegion);
    ShowIndex(shape_, ed.ShapeIndex);
    ShowChecked(extended_, ed.ExtRegion);
    ShowChecked(history_, ed.HistoryOn);
    ShowValue(historyRange_, ed.HistoryRangeBox, 2, 256);
    ShowChecked(delayOn_, ed.DelayOn);
    ShowValue(delayValue_, ed.DelayValue, -256, -1);
    ShowText(listTexts_[0], ed.BirthStr);
    ShowText(listTexts_[1], ed.SurvivalStr);
    for (std::size_t d = 0; d < 10; ++d) {
        ShowChecked(digitBoxes_[0][d], ed.B[d]);
        ShowChecked(digitBoxes_[1][d], ed.S[d]);
    }
    ShowValue(ranges_[0][0], ed.MinBirth, kMinListSum, kMaxListSum);
    ShowValue(ranges_[0][1], ed.MaxBirth, kMinListSum, kMaxListSum);
    ShowValue(ranges_[1][0], ed.MinSurvival, kMinListSum, kMaxListSum);
    ShowValue(ranges_[1][1], ed.MaxSurvival, kMinListSum, kMaxListSum);
    ShowText(description_, DescriptionText(ed.RulesDescription));
    QStringList memo;
    for (const std::string& line : ed.InfoMemo)
        memo << ToQString(line);
    ShowText(memo_, memo.join('\n'));
    ShowStatus();
}

void RulesPage::ShowStatus() {
    // The status bar is made after the tool panel.
    const RuleEditorState& ed = window_.session().world().Editor;
    if (auto* status = window_.findChild<StatusPanels*>())
        status->SetRuleInfo(ToQString(ed.InfoMemo[2]), ToQString(ed.InfoMemo[0]),
                            ToQString(ed.InfoEdit));
}

void RulesPage::MemoEdited() {
    RuleEditorState& ed = window_.session().world().Editor;
    const QStringList lines = memo_->toPlainText().split('\n');
    for (int i = 0; i < static_cast<int>(ed.InfoMemo.size()); ++i)
        ed.InfoMemo[static_cast<std::size_t>(i)] = ToStd(lines.value(i));
    ShowStatus();
}

bool RulesPage::eventFilter(QObject* watched, QEvent* event) {
    const int side = watched == listTexts_[0] ? 0 : watched == listTexts_[1] ? 1 : -1;
    if (side >= 0 && event->type() == QEvent::KeyPress) {
        // The boxes follow the text as it stands before the key; Enter reads it.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        Edit([side, enter](World& w) {
            if (enter)
                side == 0 ? ParseBirthList(w) : ParseSurvivalList(w);
            SyncBirthSurvivalBoxes(w);
        });
    }
    return QWidget::eventFilter(watched, event);
}

void RulesPage::RefreshRuleFileList() {
    ruleFiles_ = zentorix::RefreshRuleFileList(window_.session().folder().Rules());
    FillLibraryList(rulesList_, BuiltInPresetCount, ruleFiles_);
}

void RulesPage::ChooseRulesEntry(int position) {
    Session& session = window_.session();
    session.settings().RulesComboBox = position;
    const QString chosen = rulesList_->itemText(position);
    if (toolBarList_) {
        const QSignalBlocker block(toolBarList_);
        toolBarList_->setCurrentIndex(
            toolBarList_->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    Edit([&](World& world) {
        session.Run(
            [&] { SelectRulesListEntry(world, session.folder().Rules(), position, ruleFiles_); });
    });
}

void RulesPage::SaveRulesClick() {
    Session& session = window_.session();
    World& world = session.world();
    std::string& shown = world.Editor.RulesComboBoxText;
    shown =
        RuleFileNameBesidePresets(RuleFileSaveName(world.Editor, rulesList_->count()), ruleFiles_);
    const std::string name = shown;
    ShowEditor();
    const std::filesystem::path folder = session.folder().Rules();
    if (RuleFileExists(folder, name) && !ConfirmOverwrite(this)) {
        rulesList_->setFocus();
        return;
    }
    if (session.Run([&] { SaveRuleFile(world, folder, name); }))
        RefreshRuleFileList();
    ShowEditor();
}

void RulesPage::ReadTypedRule() {
    TypedRuleResult result;
    const QString typed = typedRule_->text();
    Edit([&](World& world) { result = ApplyTypedRule(world, ToStd(typed)); });
    if (!result.problem.empty()) {
        typedRule_->setText(typed);  // a refused text stays, to be corrected
        emit window_.session().Failed(ToQString(result.problem));
    } else if (auto* status = window_.findChild<QStatusBar*>("StatusBar1"))
        status->showMessage(tr("Правило прочитано як %1").arg(ToQString(result.family)), 5000);
}

}  // namespace zentorix::app
