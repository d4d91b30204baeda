#include "app/statistics_chart.h"

#include <QPainter>

#include "view/field_editing.h"

namespace zentorix::app {

namespace {

QColor Rgb(std::uint32_t colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

// A one-pixel line straight into the image, both ends included. A generation
// adds a few short segments; setting their pixels costs far less than a painter
// on the image each generation.
void PlotSegment(QImage& image, const GraphSegment& segment) {
    const QRgb colour = 0xff000000u | static_cast<QRgb>(segment.colour);
    for (const auto& [x, y] : LineCells(segment.from.x, segment.from.y, segment.to.x, segment.to.y))
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

}  // namespace

StatisticsChart::StatisticsChart(QWidget* parent) : QWidget(parent) {
    setObjectName("PaintBox6");
    setMinimumSize(150, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(150, 200, QImage::Format_RGB32);
    image_.fill(Qt::black);
    sinceShown_.start();
}

void StatisticsChart::Apply(const GraphStep& step, const StatisticsGraph& graph) {
    if (image_.size() != QSize(graph.Width(), graph.Height())) {
        image_ = QImage(graph.Width(), graph.Height(), QImage::Format_RGB32);
        image_.fill(Qt::black);
    }
    if (step.newPage) {
        image_.fill(Qt::black);
        QPainter painter(&image_);
        for (const GraphLine& line : graph.PageLines()) {
            QPen pen(Rgb(line.colour));
            pen.setStyle(line.dotted ? Qt::DotLine : Qt::SolidLine);
            painter.setPen(pen);
            painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
        }
        QFont font = painter.font();
        font.setPixelSize(9);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        for (const GraphLabel& label : graph.PageLabels()) {
            painter.setPen(Rgb(label.colour));
            // Label positions are the text's top-left corner.
            painter.drawText(label.at.x, label.at.y + metrics.ascent(),
                             QString::fromStdString(label.text));
        }
    }
    for (const GraphSegment& segment : step.segments)
        PlotSegment(image_, segment);
    // Generations at full speed come faster than anyone can watch; the image is
    // always current, so showing it 10 times a second loses nothing and spares
    // the window repaints of its own between those of the field.
    if (step.newPage || sinceShown_.elapsed() >= 100) {
        sinceShown_.restart();
        update();
    }
}

void StatisticsChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, image_);
}

void StatisticsChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit PageRequested();
}

void StatisticsChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit PageRequested();
}

}  // namespace zentorix::app
