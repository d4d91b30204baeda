#include "app/panel_docks.h"

#include <QBoxLayout>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QStringList>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <system_error>

#include "formats/text_file.h"

namespace zentorix::app {

QDockWidget* MakePanelDock(const char* name, const QString& title, QWidget* content,
                           QWidget* parent) {
    auto* dock = new QDockWidget(title, parent);
    dock->setObjectName(name);
    // Closing would leave no way back but the menu: a panel moves, it does not go.
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    dock->setWidget(content);
    return dock;
}

namespace {

// At home the panel's own heading names it: its title bar is only the button
// that floats it (the bar still drags it out), so the page does not show two
// headings one above the other. Away from home the usual title bar comes back.
QWidget* MakeHomeBar(QDockWidget* dock) {
    auto* bar = new QWidget(dock);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    auto* button = new QToolButton(bar);
    button->setObjectName(dock->objectName() + QStringLiteral("Float"));
    button->setAutoRaise(true);
    button->setIcon(dock->style()->standardIcon(QStyle::SP_TitleBarNormalButton, nullptr, dock));
    const int side = dock->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, dock);
    button->setIconSize(QSize(side * 3 / 4, side * 3 / 4));
    button->setToolTip(dock->windowTitle());
    QObject::connect(dock, &QDockWidget::windowTitleChanged, button, &QToolButton::setToolTip);
    QObject::connect(button, &QToolButton::clicked, dock, [dock] { dock->setFloating(true); });
    row->addWidget(button);
    return bar;
}

}  // namespace

PanelDocks::PanelDocks(QMainWindow& window, std::filesystem::path file)
    : QObject(&window), window_(window), file_(std::move(file)) {
    setObjectName("PanelDocks");
    for (const char* name : kDockPanels) {
        auto* dock = window.findChild<QDockWidget*>(name);
        if (!dock)
            continue;
        QWidget* parent = dock->parentWidget();
        auto* layout = qobject_cast<QBoxLayout*>(parent->layout());
        homes_.push_back({dock, parent, layout, layout ? layout->indexOf(dock) : -1,
                          dock->widget()->sizePolicy(), MakeHomeBar(dock)});
        dock->setTitleBarWidget(homes_.back().homeBar);
    }
    for (std::size_t i = 0; i < homes_.size(); ++i) {
        QDockWidget* dock = homes_[i].dock;
        // Floated from its page, a panel joins the main window, where it can be
        // dragged to any side; the move waits until the float has finished.
        connect(dock, &QDockWidget::topLevelChanged, this, [this, i, dock](bool floating) {
            if (floating && dock->parentWidget() != &window_)
                QMetaObject::invokeMethod(
                    this, [this, i] { Leave(homes_[i], true); }, Qt::QueuedConnection);
        });
    }
}

bool PanelDocks::AtHome(const QDockWidget* dock) const {
    return dock->parentWidget() != &window_;
}

void PanelDocks::Leave(Home& home, bool floating) {
    QDockWidget* dock = home.dock;
    if (!AtHome(dock))
        return;
    const QRect at = dock->geometry();
    dock->setTitleBarWidget(nullptr);
    home.homeBar->hide();
    window_.addDockWidget(Qt::RightDockWidgetArea, dock);
    if (floating) {
        dock->setFloating(true);
        dock->setGeometry(at);
    }
    // Away from its page's column the panel takes what room its place offers
    // (the chart a wide page).
    dock->widget()->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    dock->show();
}

void PanelDocks::AllHome() {
    std::vector<Home*> order;
    for (Home& home : homes_)
        order.push_back(&home);
    // In the order they stood, so each finds the panels before it in place.
    std::sort(order.begin(), order.end(),
              [](const Home* a, const Home* b) { return a->index < b->index; });
    for (Home* home : order) {
        QDockWidget* dock = home->dock;
        if (AtHome(dock) && !dock->isFloating())
            continue;
        if (dock->isFloating())
            dock->setFloating(false);
        if (!AtHome(dock))
            window_.removeDockWidget(dock);
        dock->setParent(home->parent);
        if (home->layout)
            home->layout->insertWidget(home->index, dock);
        dock->widget()->setSizePolicy(home->content);
        dock->setTitleBarWidget(home->homeBar);
        home->homeBar->show();
        dock->show();
    }
}

void PanelDocks::Restore() {
    const auto text = ReadTextFile(file_);
    if (!text)
        return;
    QStringList away;
    QByteArray state;
    for (const QString& line : QString::fromStdString(*text).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("Away=")))
            away = line.mid(5).split(',', Qt::SkipEmptyParts);
        else if (line.startsWith(QLatin1String("State=")))
            state = QByteArray::fromBase64(line.mid(6).toLatin1());
    }
    for (Home& home : homes_)
        if (away.contains(home.dock->objectName()))
            Leave(home, false);
    // The main window puts the panels that left where they were: docked on a
    // side or floating. A state it cannot read leaves them on the right.
    window_.restoreState(state);
}

bool PanelDocks::Save() const {
    QStringList away;
    for (const Home& home : homes_)
        if (!AtHome(home.dock))
            away << home.dock->objectName();
    if (away.isEmpty()) {
        // Every panel at home is the start: no file to keep.
        std::error_code ec;
        std::filesystem::remove(file_, ec);
        return !ec;
    }
    const QString text = QStringLiteral("Away=") + away.join(',') + QStringLiteral("\r\nState=") +
                         QString::fromLatin1(window_.saveState().toBase64()) +
                         QStringLiteral("\r\n");
    try {
        WriteFileAtomic(file_, text.toStdString());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace zentorix::app
