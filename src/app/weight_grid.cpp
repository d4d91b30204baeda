#include "app/weight_grid.h"

#include <QEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <string>

#include "app/bindings.h"
#include "model/rule_editor_state.h"

namespace zentorix::app {

WeightGrid::WeightGrid(QWidget* parent) : QWidget(parent) {
    setObjectName("WeightPanel");
    for (const PositionToken& p : kPositionTokens) {
        const int pos = PositionIndex(p.dx, p.dy);
        const std::string name(p.name);
        QSpinBox* box = MakeUpDown(("Int" + name).c_str(), ("String" + name).c_str(), kMinWeightBox,
                                   kMaxWeightBox, this);
        // The value changes through the arrows (and the arrow keys) only.
        box->findChild<QLineEdit*>()->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        box->setToolTip(QString::fromUtf8(p.name.data(), static_cast<int>(p.name.size())));
        box->installEventFilter(this);
        boxes_[static_cast<std::size_t>(pos)] = box;
    }
    Pack();
}

QSize WeightGrid::sizeHint() const {
    const QSize box = boxes_[0]->sizeHint();
    // Three boxes' width: the packed boxes overlap by about half.
    return {box.width() * 3, box.height() * 5};
}

QRect WeightGrid::PackedPlace(int position) const {
    const QSize box = boxes_[0]->sizeHint();
    const int w = std::min(box.width(), width());
    const int column = position % 5, row = position / 5;
    // The first box starts at the left edge and the last ends at the right one.
    const int x = column * std::max(0, width() - w) / 4;
    return {x, row * box.height(), w, box.height()};
}

void WeightGrid::Pack() {
    // From east to west, so each box lies over its eastern neighbour's blank
    // left part and no arrows are covered.
    for (int pos = kPositionCount - 1; pos >= 0; --pos) {
        boxes_[static_cast<std::size_t>(pos)]->setGeometry(PackedPlace(pos));
        boxes_[static_cast<std::size_t>(pos)]->raise();
    }
}

void WeightGrid::Uncover(int position) {
    Pack();
    QSpinBox* box = boxes_[static_cast<std::size_t>(position)];
    box->raise();
    if (position % 5 > 0) {
        QSpinBox* west = boxes_[static_cast<std::size_t>(position - 1)];
        QRect place = west->geometry();
        place.moveRight(std::max(place.width() - 1, box->geometry().left() - 1));
        west->setGeometry(place);
    }
}

bool WeightGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        const auto found = std::find(boxes_.begin(), boxes_.end(), watched);
        if (found != boxes_.end())
            Uncover(static_cast<int>(found - boxes_.begin()));
    }
    return QWidget::eventFilter(watched, event);
}

void WeightGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Pack();
}

void WeightGrid::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Pack();
}

}  // namespace zentorix::app
