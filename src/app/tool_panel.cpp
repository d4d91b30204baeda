#include "app/tool_panel.h"

#include <QButtonGroup>
#include <QDockWidget>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "app/colours_page.h"
#include "app/landscape_page.h"
#include "app/main_window.h"
#include "app/museum_page.h"
#include "app/options_page.h"
#include "app/panel_docks.h"
#include "app/rules_page.h"
#include "app/statistics_page.h"

namespace zentorix::app {

namespace {

QLineEdit* MakeCounterBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setText("0");
    box->setMinimumWidth(40);
    return box;
}

}  // namespace

int ToolPanel::ScaledWidth(const QFontMetrics& metrics) {
    // The panel was laid out for a font about five pixels wide per character;
    // wider fonts (and high-DPI screens) get a proportionally wider panel.
    const double scale = std::max(1.0, metrics.averageCharWidth() / 5.0);
    return std::min(static_cast<int>(kWidth * scale), 2 * kWidth);
}

ToolPanel::ToolPanel(MainWindow& window, QWidget* parent) : QScrollArea(parent) {
    setObjectName("Panel7");
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* inner = new QWidget;
    inner->setObjectName("ScrollBox7");
    auto* layout = new QVBoxLayout(inner);
    layout->setContentsMargins(2, 2, 2, 2);

    auto* counts = new QWidget(inner);
    auto* form = new QFormLayout(counts);
    form->setContentsMargins(0, 0, 0, 0);
    const std::tuple<const char*, const char*, QString> rows[] = {
        {"Edit1", "Label1", tr("Живі")},
        {"Edit11", "Label14", tr("1-й стан")},
        {"Edit2", "Label17", tr("Народжені")},
        {"Edit7", "Label44", tr("Померлі")},
        {"Edit3", "Label60", tr("Покоління")}};
    for (std::size_t i = 0; i < counters_.size(); ++i) {
        const auto& [box, label, caption] = rows[i];
        counters_[i] = MakeCounterBox(box, counts);
        form->addRow(MakeLabel(label, caption, counts), counters_[i]);
    }
    layout->addWidget(MakePanelDock("SBPanel", tr("Лічильники"), counts, inner));

    pages_ = new QTabWidget(inner);
    pages_->setObjectName("PageControl1");
    pages_->setUsesScrollButtons(true);
    pages_->setDocumentMode(true);
    pages_->addTab(new RulesPage(window), tr("Правила"));
    pages_->addTab(new LandscapePage(window), tr("Ландшафт"));
    pages_->addTab(new ColoursPage(window), tr("Кольори"));
    pages_->addTab(new StatisticsPage(window), tr("Статистика"));
    pages_->addTab(new MuseumPage(window), tr("Музей"));
    pages_->addTab(new OptionsPage(window), tr("Опції"));
    layout->insertWidget(1, BuildPageButtons(inner));
    layout->addWidget(pages_, 1);
    setWidget(inner);
    inner->installEventFilter(this);
    FitWidth();
}

void ToolPanel::FitWidth() {
    const int content = std::max(ScaledWidth(fontMetrics()), widget()->minimumSizeHint().width());
    setFixedWidth(content + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
}

bool ToolPanel::eventFilter(QObject* watched, QEvent* event) {
    // A caption of another language may need more room.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        FitWidth();
    return QScrollArea::eventFilter(watched, event);
}

// Six page tabs do not fit the panel's width in one row, and scroll arrows hide
// the last pages: the pages are chosen from buttons in rows of two instead,
// all visible at once.
QWidget* ToolPanel::BuildPageButtons(QWidget* parent) {
    pages_->tabBar()->hide();
    auto* box = new QWidget(parent);
    box->setObjectName("PageButtons");
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    auto* group = new QButtonGroup(box);
    group->setExclusive(true);
    for (int i = 0; i < pages_->count(); ++i) {
        auto* button = new QToolButton(box);
        button->setObjectName(QStringLiteral("PageButton%1").arg(i));
        button->setText(pages_->tabText(i));
        button->setToolTip(pages_->tabText(i));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        group->addButton(button, i);
        grid->addWidget(button, i / kPageButtonsPerRow, i % kPageButtonsPerRow);
    }
    connect(group, &QButtonGroup::idClicked, pages_, &QTabWidget::setCurrentIndex);
    auto follow = [group](int index) {
        if (QAbstractButton* button = group->button(index))
            button->setChecked(true);
    };
    connect(pages_, &QTabWidget::currentChanged, box, follow);
    follow(pages_->currentIndex());
    return box;
}

QWidget* ToolPanel::page(const char* name) const {
    return pages_->findChild<QWidget*>(name);
}

void ToolPanel::ShowCounters(int live, int first, int born, int died, int generation) {
    const int values[] = {live, first, born, died, generation};
    for (std::size_t i = 0; i < counters_.size(); ++i)
        counters_[i]->setText(QString::number(values[i]));
}

}  // namespace zentorix::app
