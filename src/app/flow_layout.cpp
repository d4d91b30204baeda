#include "app/flow_layout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QToolButton>
#include <algorithm>

namespace zentorix::app {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(spacing);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
    // As narrow as the widest item: everything else wraps.
    QSize size;
    for (const QLayoutItem* item : items_)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize FlowLayout::sizeHint() const {
    // All in one row.
    int width = 0, height = 0;
    for (const QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        width += item->sizeHint().width() + (width > 0 ? spacing() : 0);
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = spacing();
    // Rows as runs of items, each ending where the next item would not fit.
    QList<QLayoutItem*> row;
    int y = area.y(), rowWidth = 0, rowHeight = 0;
    auto place = [&] {
        int x = area.x();
        for (QLayoutItem* item : row) {
            QSize size = item->sizeHint().boundedTo(item->maximumSize());
            size.setWidth(std::min(size.width(), area.width()));
            if (stretch_ && item->widget() == stretch_)
                size.setWidth(std::min(size.width() + std::max(0, area.width() - rowWidth),
                                       item->maximumSize().width()));
            if (apply)
                item->setGeometry(QRect(QPoint(x, y + (rowHeight - size.height()) / 2), size));
            x += size.width() + gap;
        }
    };
    for (QLayoutItem* item : items_) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint().boundedTo(item->maximumSize());
        if (!row.isEmpty() && rowWidth + gap + size.width() > area.width()) {
            place();
            y += rowHeight + gap;
            row.clear();
            rowWidth = rowHeight = 0;
        }
        rowWidth += (row.isEmpty() ? 0 : gap) + size.width();
        rowHeight = std::max(rowHeight, size.height());
        row.append(item);
    }
    place();
    const QMargins m = contentsMargins();
    return y + rowHeight - rect.y() + m.bottom();
}

ToolGroup::ToolGroup(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
}

void ToolGroup::addWidget(QWidget* widget) {
    if (auto* button = qobject_cast<QToolButton*>(widget))
        button->setAutoRaise(true);
    widget->setParent(this);
    layout()->addWidget(widget);
}

void ToolGroup::addSeparator() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    layout()->addWidget(line);
}

}  // namespace zentorix::app
