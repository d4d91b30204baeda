#include "app/popup_panels.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

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
    auto* text = new QLabel(tr("Лабораторія двовимірних клітинних автоматів:\n"
                               "зважені правила 5х5, історія станів, ландшафт."),
                            about);
    text->setObjectName("Label63");
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
    target->adjustSize();
    const int left = host_->width() / 2 - target->width() / 2;
    const int top = upper ? host_->height() / 3 - target->height() / 2
                          : host_->height() / 2 - target->height() / 2;
    target->move(std::max(0, left), std::max(0, top));
    target->raise();
    target->show();
    if (target == panel("AboutPanel"))
        aboutTimer_.start();
    emit Shown(name);
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
