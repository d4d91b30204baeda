#include "app/statistics_chart.h"

#include <QPainter>
#include <QTimer>

#include "view/field_editing.h"

namespace zentorix::app {

namespace {

// A page younger than this is not shown while a complete one is there.
constexpr int kYoungPageMs = 200;
// The chart is shown at most this often while generations come.
constexpr int kShowEveryMs = 100;

QColor Rgb(std::uint32_t colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

// A one-pixel line straight into the image, both ends included. A generation
// adds a few short segments; setting their pixels costs far less than a painter
// on the image each generation.
void PlotSegment(QImage& image, const GraphSegment& segment) {
    const QRgb colour = 0xff000000u | static_cast<QRgb>(segment.colour);
    const int width = image.width(), height = image.height();
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    ForLineCells(segment.from.x, segment.from.y, segment.to.x, segment.to.y, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[y * stride + x] = colour;
    });
}

}  // namespace

StatisticsChart::StatisticsChart(QWidget* parent) : QWidget(parent) {
    setObjectName("PaintBox6");
    setMinimumSize(150, 200);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(150, 200, QImage::Format_RGB32);
    image_.fill(Qt::black);
    pageAge_.start();
    sinceShown_.start();
}

void StatisticsChart::Apply(const GraphStep& step, const StatisticsGraph& graph) {
    if (image_.size() != QSize(graph.Width(), graph.Height())) {
        image_ = QImage(graph.Width(), graph.Height(), QImage::Format_RGB32);
        image_.fill(Qt::black);
    }
    if (step.newPage) {
        // Only a page that ran to its end may stand in for a young one.
        lastPage_ = pageRequested_ ? QImage() : image_;
        pageRequested_ = false;
        pageAge_.restart();
        // The grid follows from the size alone.
        if (grid_.size() != image_.size()) {
            DrawGrid(graph.PageLines());
            pageLabels_.clear();
        }
        if (std::vector<GraphLabel> labels = graph.PageLabels(); labels != pageLabels_) {
            pageLabels_ = std::move(labels);
            DrawLabels();
        }
        image_ = pageGround_;
    }
    for (const GraphSegment& segment : step.segments)
        PlotSegment(image_, segment);
    // Generations at full speed come faster than anyone can watch; the image is
    // always current, so showing it 10 times a second loses nothing and spares
    // the window repaints of its own between those of the field.
    if (sinceShown_.elapsed() >= kShowEveryMs) {
        sinceShown_.restart();
        update();
    }
}

void StatisticsChart::DrawGrid(const std::vector<GraphLine>& lines) {
    grid_ = QImage(image_.size(), QImage::Format_RGB32);
    grid_.fill(Qt::black);
    QPainter painter(&grid_);
    for (const GraphLine& line : lines) {
        QPen pen(Rgb(line.colour));
        pen.setStyle(line.dotted ? Qt::DotLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.drawLine(line.from.x, line.from.y, line.to.x, line.to.y);
    }
}

void StatisticsChart::DrawLabels() {
    pageGround_ = grid_.copy();
    QPainter painter(&pageGround_);
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const GraphLabel& label : pageLabels_) {
        painter.setPen(Rgb(label.colour));
        // Label positions are the text's top-left corner.
        painter.drawText(label.at.x, label.at.y + metrics.ascent(),
                         QString::fromStdString(label.text));
    }
}

const QImage& StatisticsChart::shownImage() const {
    const bool young = pageAge_.elapsed() < kYoungPageMs;
    return young && lastPage_.size() == image_.size() ? lastPage_ : image_;
}

void StatisticsChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage& shown = shownImage();
    painter.drawImage(0, 0, shown);
    // The young page is shown once it is old enough, even when no generation
    // follows (the run stopped).
    if (&shown != &image_)
        QTimer::singleShot(kYoungPageMs - static_cast<int>(pageAge_.elapsed()) + 1, this,
                           qOverload<>(&QWidget::update));
}

void StatisticsChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    pageRequested_ = true;
    emit PageRequested();
}

void StatisticsChart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    pageRequested_ = true;
    emit PageRequested();
}

}  // namespace zentorix::app
