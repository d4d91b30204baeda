#include "app/language_control.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/landscape_page.h"
#include "app/main_window.h"
#include "app/popup_panels.h"
#include "app/qt_translation.h"
#include "app/statistics_page.h"
#include "i18n/rule_names.h"
#include "rules/rule_editor.h"
#include "stats/stat_texts.h"

namespace zentorix::app {

namespace {

constexpr int kSourceRole = Qt::UserRole + 900;  // a list item's built-in text
constexpr int kShownRole = Qt::UserRole + 901;   // what the language put there

QByteArray SourceKey(const char* slot) {
    return QByteArray("zxSource_") + slot;
}
QByteArray ShownKey(const char* slot) {
    return QByteArray("zxShown_") + slot;
}

StatTexts StatTextsOf(const LanguageTexts& texts) {
    StatTexts stat;
    stat.Text = texts.StatStr;
    return stat;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

LanguageTexts LanguageControl::DefaultTexts() {
    LanguageTexts texts = DefaultLanguageTexts();
    const StatTexts stat = DefaultStatTexts();
    std::copy(stat.Text.begin(), stat.Text.end(), texts.StatStr.begin());
    return texts;
}

LanguageControl::LanguageControl(MainWindow& window)
    : QObject(&window), window_(window), translator_(new LanguageTranslator(this)) {
    setObjectName("LanguageControl");
    QCoreApplication::installTranslator(translator_);
    BuildPanel();
    // Rules are named in the language in force.
    const std::filesystem::path folder = window_.session().folder().Language();
    window_.session().world().Editor.LookUpRuleName = [this, folder](World& world,
                                                                     const std::string& rule) {
        LookUpRuleName(world, folder, currentFile_.toStdString(), rule);
    };
    if (auto* palettor = window_.findChild<QAction*>("Palettorcolorpalette1")) {
        palettor->setEnabled(true);
        connect(palettor, &QAction::triggered, this, [this] {
            // The separate palette program when it is installed beside ours,
            // else our own palette editor on the colours page.
            const std::filesystem::path root = window_.session().folder().Root;
            for (const char* name : {"Palettor", "Palettor.exe"}) {
                const QString program = FromPath(root / name);
                if (QFileInfo(program).isExecutable() &&
                    QProcess::startDetached(program, {code_}, FromPath(root)))
                    return;
            }
            auto* pages = window_.findChild<QTabWidget*>("PageControl1");
            if (QWidget* colours = window_.findChild<QWidget*>("TabSheet2"); pages && colours)
                pages->setCurrentWidget(colours);
        });
    }
}

LanguageControl::~LanguageControl() {
    QCoreApplication::removeTranslator(translator_);
}

void LanguageControl::BuildPanel() {
    PopupPanels& popups = window_.popups();
    QFrame* panel = popups.panel("ChangeLanguagePanel");
    auto* layout = new QVBoxLayout(panel);
    list_ = new QListWidget(panel);
    list_->setObjectName("LanguageListBox");
    list_->setMinimumSize(220, 140);
    layout->addWidget(list_);
    auto* row = new QHBoxLayout;
    codePanel_ = new QLabel(code_, panel);
    codePanel_->setObjectName("Panel16");
    codePanel_->setFrameShape(QFrame::StyledPanel);
    codePanel_->setAlignment(Qt::AlignCenter);
    codePanel_->setMinimumWidth(32);
    flagButton_ = new QToolButton(panel);
    flagButton_->setObjectName("SpeedButton8");
    flagButton_->setIconSize(QSize(32, 20));
    auto* choose = new QPushButton(tr("Вибрати"), panel);
    choose->setObjectName("ChangeLanguage1");
    auto* cancel = new QPushButton(tr("Скасувати"), panel);
    cancel->setObjectName("Cansel03");
    row->addWidget(codePanel_);
    row->addWidget(flagButton_);
    row->addStretch(1);
    row->addWidget(choose);
    row->addWidget(cancel);
    layout->addLayout(row);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { LanguageClicked(list_->row(item)); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { ChooseSelected(); });
    connect(flagButton_, &QToolButton::clicked, this, &LanguageControl::ChooseSelected);
    connect(choose, &QPushButton::clicked, this, &LanguageControl::ChooseSelected);
    connect(cancel, &QPushButton::clicked, this, &LanguageControl::Cancel);
    connect(&popups, &PopupPanels::Shown, this, [this](const QString& name) {
        if (name == QLatin1String("ChangeLanguagePanel"))
            PanelShown();
    });
}

void LanguageControl::PanelShown() {
    fileAtOpen_ = currentFile_;
    RefreshLanguageList();
    for (std::size_t i = 0; i < languages_.size(); ++i)
        if (QString::fromStdString(languages_[i].baseName + ".lng") == currentFile_)
            list_->setCurrentRow(static_cast<int>(i));
    list_->setFocus();
}

void LanguageControl::RefreshLanguageList() {
    const int row = list_->currentRow();
    list_->clear();
    languages_ = zentorix::RefreshLanguageList(window_.session().folder().Language());
    for (const LanguageRecord& record : languages_)
        list_->addItem(QString::fromStdString(record.displayName.empty() ? record.baseName
                                                                         : record.displayName));
    if (row >= 0 && row < list_->count())
        list_->setCurrentRow(row);
}

// One click previews the language: the user sees it before confirming.
void LanguageControl::LanguageClicked(int row) {
    if (row < 0 || row >= static_cast<int>(languages_.size()))
        return;
    const LanguageRecord& record = languages_[static_cast<std::size_t>(row)];
    const QString base = QString::fromStdString(record.baseName);
    const bool flag = Exists(window_.session().folder().Language() / (record.baseName + ".bmp"));
    flagButton_->setEnabled(flag);
    if (flag)
        ShowFlag(base);
    codePanel_->setText(QString::fromStdString(record.code));
    ApplyLanguageFile(base + QStringLiteral(".lng"));
}

void LanguageControl::ChooseSelected() {
    const int row = list_->currentRow();
    if (row >= 0 && row < static_cast<int>(languages_.size()))
        ApplyLanguageFile(
            QString::fromStdString(languages_[static_cast<std::size_t>(row)].baseName) +
            QStringLiteral(".lng"));
    window_.popups().panel("ChangeLanguagePanel")->hide();
}

// Closing without a choice puts back the language the panel opened with.
void LanguageControl::Cancel() {
    if (currentFile_ != fileAtOpen_ && !fileAtOpen_.isEmpty())
        ApplyLanguageFile(fileAtOpen_);
    window_.popups().panel("ChangeLanguagePanel")->hide();
}

void LanguageControl::ShowFlag(const QString& baseName) {
    const QPixmap flag(FromPath(window_.session().folder().Language() / ToPath(baseName + ".bmp")));
    if (flag.isNull())
        return;
    flagButton_->setIcon(flag);
    if (auto* button = window_.findChild<QToolButton*>("ChangeLanguageButton")) {
        button->setIcon(flag);
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
}

void LanguageControl::ApplyLanguageFile(const QString& fileName) {
    const std::filesystem::path path = window_.session().folder().Language() / ToPath(fileName);
    std::optional<LanguageFileContent> content;
    if (Exists(path)) {
        LanguageTexts texts = texts_;
        content = ReadLanguageFile(path, texts);
        if (content)
            texts_ = std::move(texts);
    }
    if (content) {
        currentFile_ = fileName;
        window_.session().settings().Language = fileName.toStdString();
        translator_->SetLanguage(texts_, *content);
        // Texts of our own first: the component keys below are the file's last word.
        Retranslate();
        if (content->hasCode) {
            code_ = QString::fromStdString(content->code);
            codePanel_->setText(code_);
        }
        for (const auto& [name, caption] : content->captions)
            SetCaption(QString::fromStdString(name), QString::fromStdString(caption));
        for (const auto& item : content->listItems)
            SetListItem(QString::fromStdString(item.list), item.index,
                        QString::fromStdString(item.text));
        if (!content->error.empty())
            window_.ShowFailure(QString::fromStdString(content->error));
    }
    ShowFlag(QFileInfo(currentFile_).completeBaseName());
    RebuildComposedTexts();
    UseQtTranslation(QtLocaleOfLanguage(currentFile_));
}

// Every text the window shows that has a built-in wording follows the language:
// captions, titles, tool tips, tab texts and list items. A text the program has
// changed since the last language (a counter, a file name) is left alone unless
// it is a built-in text or one of the previous language.
void LanguageControl::Retranslate() {
    auto next = [this](QObject* object, const char* slot, const QString& current) {
        const QVariant source = object->property(SourceKey(slot));
        const QString built = source.isValid() && object->property(ShownKey(slot)) == current
                                  ? source.toString()
                                  : translator_->Source(current);
        const QString shown = translator_->Translate(built);
        object->setProperty(SourceKey(slot), built);
        object->setProperty(ShownKey(slot), shown);
        return shown;
    };
    for (QObject* object : window_.findChildren<QObject*>()) {
        if (auto* action = qobject_cast<QAction*>(object)) {
            if (!action->text().isEmpty() && !action->menu())
                action->setText(next(action, "text", action->text()));
            continue;
        }
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            continue;
        if (!widget->toolTip().isEmpty())
            widget->setToolTip(next(widget, "toolTip", widget->toolTip()));
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            if (!menu->title().isEmpty())
                menu->setTitle(next(menu, "title", menu->title()));
        } else if (auto* dock = qobject_cast<QDockWidget*>(widget)) {
            dock->setWindowTitle(next(dock, "title", dock->windowTitle()));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(next(group, "title", group->title()));
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!button->text().isEmpty())
                button->setText(next(button, "text", button->text()));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->text().isEmpty())
                label->setText(next(label, "text", label->text()));
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (!edit->placeholderText().isEmpty())
                edit->setPlaceholderText(next(edit, "placeholder", edit->placeholderText()));
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QByteArray slot = "tab" + QByteArray::number(i);
                tabs->setTabText(i, next(tabs, slot.constData(), tabs->tabText(i)));
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
            const QSignalBlocker block(combo);
            for (int i = 0; i < combo->count(); ++i) {
                const QString current = combo->itemText(i);
                const QVariant source = combo->itemData(i, kSourceRole);
                const QString built = source.isValid() && combo->itemData(i, kShownRole) == current
                                          ? source.toString()
                                          : translator_->Source(current);
                const QString shown = translator_->Translate(built);
                combo->setItemData(i, built, kSourceRole);
                combo->setItemData(i, shown, kShownRole);
                combo->setItemText(i, shown);
            }
        }
    }
}

// A component key: the caption of the control of that name, whatever kind it is.
void LanguageControl::SetCaption(const QString& name, const QString& caption) {
    const QString objectName =
        name == QLatin1String("Panels[0]") ? QStringLiteral("StatusPanel0") : name;
    for (QObject* object : window_.findChildren<QObject*>(objectName)) {
        const char* slot = "text";
        if (auto* action = qobject_cast<QAction*>(object)) {
            action->setText(caption);
        } else if (auto* menu = qobject_cast<QMenu*>(object)) {
            menu->setTitle(caption);
            slot = "title";
        } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
            group->setTitle(caption);
            slot = "title";
        } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
            button->setText(caption);
        } else if (auto* label = qobject_cast<QLabel*>(object)) {
            label->setText(caption);
        } else if (auto* page = qobject_cast<QWidget*>(object);
                   page && qobject_cast<QStackedWidget*>(page->parentWidget()) &&
                   qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget())) {
            // A tab page: its tab, and the page button that stands for it.
            auto* tabs = static_cast<QTabWidget*>(page->parentWidget()->parentWidget());
            const int index = tabs->indexOf(page);
            tabs->setTabText(index, caption);
            tabs->setProperty(ShownKey(("tab" + QByteArray::number(index)).constData()), caption);
            if (auto* button =
                    window_.findChild<QToolButton*>(QStringLiteral("PageButton%1").arg(index));
                button && tabs->objectName() == QLatin1String("PageControl1")) {
                button->setText(caption);
                button->setToolTip(caption);
            }
            continue;
        } else if (object->metaObject()->indexOfProperty("text") >= 0) {
            object->setProperty("text", caption);
        } else {
            continue;
        }
        object->setProperty(ShownKey(slot), caption);
    }
}

// A list family: the item is replaced where it stands; the selection stays and no
// handler runs, so a language switch changes no rule set, layer or weight.
void LanguageControl::SetListItem(const QString& list, int index, const QString& text) {
    for (QComboBox* combo : window_.findChildren<QComboBox*>(list)) {
        if (index >= combo->count())
            continue;  // no such item: the line changes nothing
        const QSignalBlocker block(combo);
        combo->setItemText(index, text);
        combo->setItemData(index, text, kShownRole);
    }
}

void LanguageControl::RebuildComposedTexts() {
    if (auto* start = window_.findChild<QPushButton*>("StartButton"))
        start->setText(LanguageText(window_.runControl().Running() ? kStopCaption : kStartCaption));
    if (auto* colorMode = window_.findChild<QCheckBox*>("ColorMode"))
        colorMode->setText(LanguageText(
            window_.session().settings().Colours.ColorMode ? kColourByBirth : kColourByAge));
    if (auto* landscape = window_.findChild<LandscapePage*>()) {
        LandscapeTexts words;
        QString* fields[] = {&words.threshold, &words.fewWord, &words.manyWord, &words.periodPrefix,
                             &words.intensityPrefix};
        for (std::size_t i = 0; i < texts_.LandStr.size(); ++i)
            *fields[i] = QString::fromStdString(texts_.LandStr[i]);
        landscape->SetTexts(words);
    }
    if (auto* statistics = window_.findChild<StatisticsPage*>())
        statistics->recorder().SetTexts(StatTextsOf(texts_));
    // The rule is looked up again in the new language's rule-name file.
    RuleChanged(window_.session().world());
    window_.bindings().Refresh();
    window_.ShowRuleInfo();
}

}  // namespace zentorix::app
