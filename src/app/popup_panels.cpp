#include "app/popup_panels.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zentorix::app {

namespace {

// One phase of a glider as a small picture for the About panel.
QPixmap GliderPicture(int phase) {
    static const char* const kPhases[3][3] = {
        {".*.", "..*", "***"}, {"*.*", ".**", ".*."}, {"..*", "*.*", ".**"}};
    QPixmap pixmap(40, 40);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            if (kPhases[phase][y][x] == '*')
                painter.fillRect(5 + x * 10, 5 + y * 10, 9, 9, Qt::yellow);
    return pixmap;
}

}  // namespace

PopupPanels::PopupPanels(QWidget* host) : QObject(host), host_(host) {
    host_->installEventFilter(this);
    for (const char* name : kNames) {
        auto* frame = new QFrame(host);
        frame->setObjectName(name);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setAutoFillBackground(true);
        frame->hide();
        panels_.insert(name, frame);
    }
    BuildAbout();
}

void PopupPanels::BuildAbout() {
    QFrame* about = panel("AboutPanel");
    auto* layout = new QVBoxLayout(about);
    auto* title = new QLabel(QStringLiteral("<h2>Zentorix</h2>"), about);
    title->setObjectName("Label50");
    layout->addWidget(title);
    auto* version = new QLabel(tr("Версія %1").arg(QCoreApplication::applicationVersion()), about);
    version->setObjectName("Label62");
    layout->addWidget(version);
    auto* text = new QLabel(tr("Лабораторія двовимірних клітинних автоматів:") + '\n' +
                                tr("зважені правила 5х5, історія станів, ландшафт."),
                            about);
    text->setObjectName("Label63");
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* pictures = new QHBoxLayout;
    const char* names[] = {"Image5", "Image6", "Image7"};
    for (int i = 0; i < 3; ++i) {
        pictures_[i] = new QLabel(about);
        pictures_[i]->setObjectName(names[i]);
        pictures_[i]->setPixmap(GliderPicture(i));
        pictures_[i]->setVisible(i == 2);
        pictures->addWidget(pictures_[i]);
    }
    layout->addLayout(pictures);
    auto* close = new QPushButton(tr("Закрити"), about);
    close->setObjectName("Cansel6");
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, [this] {
        panel("AboutPanel")->hide();
        aboutTimer_.stop();
    });
    aboutTimer_.setParent(this);
    aboutTimer_.setObjectName("Timer3");
    aboutTimer_.setInterval(300);
    connect(&aboutTimer_, &QTimer::timeout, this, [this] {
        // One picture gives way to the next on every tick.
        pictures_[frame_]->hide();
        frame_ = (frame_ + 1) % 3;
        pictures_[frame_]->show();
    });
}

void PopupPanels::Toggle(const char* name, bool upper) {
    QFrame* target = panel(name);
    if (!target)
        return;
    if (target->isVisible()) {
        target->hide();
        if (target == panel("AboutPanel"))
            aboutTimer_.stop();
        return;
    }
    HideAll();
    upper_[target] = upper;
    Place(target);
    target->raise();
    target->show();
    if (target == panel("AboutPanel"))
        aboutTimer_.start();
    emit Shown(name);
}

// Centred, and never past the window's edges: a panel larger than the window
// is held to its size.
void PopupPanels::Place(QFrame* target) {
    target->setMaximumSize(host_->size());
    target->adjustSize();
    const int left = host_->width() / 2 - target->width() / 2;
    const int top = upper_.value(target) ? host_->height() / 3 - target->height() / 2
                                         : host_->height() / 2 - target->height() / 2;
    target->move(std::clamp(left, 0, std::max(0, host_->width() - target->width())),
                 std::clamp(top, 0, std::max(0, host_->height() - target->height())));
}

bool PopupPanels::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && event->type() == QEvent::Resize) {
        // A shown panel stays inside the window as it shrinks.
        for (QFrame* frame : panels_) {
            if (!frame->isVisible())
                continue;
            const QPoint at = frame->pos();
            frame->setMaximumSize(host_->size());
            frame->adjustSize();
            frame->move(std::clamp(at.x(), 0, std::max(0, host_->width() - frame->width())),
                        std::clamp(at.y(), 0, std::max(0, host_->height() - frame->height())));
        }
    }
    return QObject::eventFilter(watched, event);
}

void PopupPanels::HideAll() {
    for (QFrame* frame : panels_)
        frame->hide();
    aboutTimer_.stop();
}

bool PopupPanels::AnyShown() const {
    for (QFrame* frame : panels_)
        if (frame->isVisible())
            return true;
    return false;
}

}  // namespace zentorix::app
