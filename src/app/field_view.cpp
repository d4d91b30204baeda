#include "app/field_view.h"

#include <QPaintEvent>
#include <QPainter>

namespace zentorix::app {

FieldView::FieldView(World& world, Settings& settings, QWidget* parent)
    : QWidget(parent), world_(world), settings_(settings) {
    setObjectName("PaintBox1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    EnsureImage();
    RedrawView();
}

QSize FieldView::sizeHint() const {
    const int c = settings_.CellSize;
    return {world_.FieldWidth() * c + 1, world_.FieldHeight() * c + 1};
}

void FieldView::EnsureImage() {
    const QSize size = sizeHint();
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
        setFixedSize(size);
    }
}

CellRect FieldView::VisibleWindow() const {
    return {1, 1, world_.FieldWidth(), world_.FieldHeight()};
}

void FieldView::DrawCell(int x, int y, Colour colour) {
    const int c = settings_.CellSize;
    const int left = (x - 1) * c, top = (y - 1) * c;
    const int right = std::min(x * c, image_.width()), bottom = std::min(y * c, image_.height());
    if (left < 0 || top < 0)
        return;
    const QRgb rgb = ToRgb(colour);
    for (int py = top; py < bottom; ++py) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        for (int px = left; px < right; ++px)
            line[px] = rgb;
    }
    update(left, top, c, c);
}

void FieldView::RedrawView() {
    EnsureImage();
    image_.fill(ToRgb(settings_.Colours.BackgroundColour));
    for (int x = 1; x <= world_.FieldWidth(); ++x)
        for (int y = 1; y <= world_.FieldHeight(); ++y)
            if (const auto v = world_.MainField.at(x, y); v > 0)
                DrawCell(x, y, settings_.Colours.ColourOfState(v));
    update();
}

void FieldView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

}  // namespace zentorix::app
