#include "app/field_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "engine/generation_step.h"

namespace zentorix::app {

FieldView::FieldView(Session& session, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session) {
    setObjectName("ScrollBox11");
    viewport()->setObjectName("PaintBox1");
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    wheelTimer_.setParent(this);
    wheelTimer_.setObjectName("Timer4");
    wheelTimer_.setSingleShot(true);
    wheelTimer_.setInterval(1);
    connect(&wheelTimer_, &QTimer::timeout, this, [this] { wheelReady_ = true; });
    wheelTimer_.start();
    sinceShown_.start();
    UpdateInsets(false);
}

int FieldView::ZoomStep(int cellSize) {
    if (cellSize >= 1 && cellSize <= 8)
        return 1;
    if (cellSize >= 10 && cellSize <= 17)
        return 2;
    if (cellSize >= 19 && cellSize <= 29)
        return 3;
    if (cellSize >= 31 && cellSize <= 50)
        return 4;
    return 1;
}

QSize FieldView::SurfaceSize() const {
    const World& w = session_.world();
    return {w.FieldWidth() * CellSize() + 1, w.FieldHeight() * CellSize() + 1};
}

// Where the surface's top-left pixel lies in the viewport: centred when it is
// narrower than the panel, otherwise scrolled.
QPoint FieldView::SurfaceOrigin() const {
    const QSize s = SurfaceSize(), v = viewport()->size();
    const int left =
        s.width() < v.width() ? v.width() / 2 - s.width() / 2 : -horizontalScrollBar()->value();
    const int top =
        s.height() < v.height() ? v.height() / 2 - s.height() / 2 : -verticalScrollBar()->value();
    return {left, top};
}

CellRect FieldView::VisibleWindow() const {
    const World& w = session_.world();
    const QSize s = SurfaceSize(), v = viewport()->size();
    const int c = CellSize();
    // Every cell with a pixel in the view, the partly shown ones at the edges
    // included, at any scroll position.
    auto span = [c](int surface, int view, int scroll, int cells, int& first, int& last) {
        if (surface < view) {
            first = 1;
            last = cells;
            return;
        }
        first = scroll / c + 1;
        last = std::min((scroll + view - 1) / c + 1, cells);
    };
    CellRect r;
    span(s.width(), v.width(), horizontalScrollBar()->value(), w.FieldWidth(), r.FirstColumn,
         r.LastColumn);
    span(s.height(), v.height(), verticalScrollBar()->value(), w.FieldHeight(), r.FirstRow,
         r.LastRow);
    return r;
}

void FieldView::FillSurfaceRect(int left, int top, int right, int bottom, QRgb rgb) {
    // Surface coordinates to image coordinates, clipped to the image.
    const int x0 = std::max(left - imageOrigin_.x(), 0);
    const int y0 = std::max(top - imageOrigin_.y(), 0);
    const int x1 = std::min(right - imageOrigin_.x(), image_.width());
    const int y1 = std::min(bottom - imageOrigin_.y(), image_.height());
    ++imageVersion_;
    for (int py = y0; py < y1; ++py) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(py));
        std::fill(line + x0, line + std::max(x0, x1), rgb);
    }
}

void FieldView::DrawCell(int x, int y, Colour colour) {
    const int c = CellSize();
    if (c == 1 && insetLead_ == 0 && insetTrail_ == 0) {
        const int px = x - 1 - imageOrigin_.x(), py = y - 1 - imageOrigin_.y();
        ++imageVersion_;
        if (px >= 0 && py >= 0 && px < image_.width() && py < image_.height())
            reinterpret_cast<QRgb*>(image_.scanLine(py))[px] = ToRgb(colour);
        return;
    }
    FillSurfaceRect((x - 1) * c + insetLead_, (y - 1) * c + insetLead_, x * c - insetTrail_,
                    y * c - insetTrail_, ToRgb(colour));
}

namespace {
std::uint32_t PixelOfColour(Colour colour) {
    return ToRgb(colour);
}
}  // namespace

PixelSurface* FieldView::Surface() {
    if (image_.isNull())
        return nullptr;
    surface_.pixels = reinterpret_cast<std::uint32_t*>(image_.bits());
    surface_.stride = static_cast<int>(image_.bytesPerLine() / sizeof(std::uint32_t));
    surface_.width = image_.width();
    surface_.height = image_.height();
    surface_.originX = imageOrigin_.x();
    surface_.originY = imageOrigin_.y();
    surface_.cellSize = CellSize();
    surface_.insetLead = insetLead_;
    surface_.insetTrail = insetTrail_;
    surface_.toPixel = &PixelOfColour;
    surface_.imageVersion = imageVersion_;
    return &surface_;
}

void FieldView::RedrawView(bool forceAllLayers) {
    const QSize v = viewport()->size();
    if (image_.size() != v)
        image_ = QImage(v.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    imageOrigin_ = -SurfaceOrigin();
    ++imageVersion_;
    behind_ = false;
    const Settings& s = session_.settings();
    const ColourModel& colours = s.Colours;
    // The field panel around a centred surface takes the background colour too.
    image_.fill(ToRgb(colours.BackgroundColour));
    if (s.Grid)
        DrawGridLines();

    const World& w = session_.world();
    const CellRect r = VisibleWindow();
    const bool dead = forceAllLayers || s.EternalDeadRefresh;
    const bool life = forceAllLayers || s.EternalLifeRefresh;
    const bool other = forceAllLayers || s.OtherRealRefresh;
    const bool main = forceAllLayers || s.MainLifeRefresh;
    for (int x = r.FirstColumn; x <= r.LastColumn; ++x) {
        for (int y = r.FirstRow; y <= r.LastRow; ++y) {
            if (dead && w.EternalDeadField.at(x, y) > 0)
                DrawCell(x, y, colours.DeadColour);
            if (life && w.EternalLifeField.at(x, y) > 0)
                DrawCell(x, y, colours.BirthColour);
            if (other && w.OtherRealityField.at(x, y) > 0)
                DrawCell(x, y, colours.BigGridColour);
            if (main && w.MainField.at(x, y) > 0)
                DrawCell(x, y, colours.ColourOfState(w.MainField.at(x, y)));
        }
    }
    DrawFrame();
    viewport()->update();
    emit Redrawn();
}

void FieldView::RepaintCell(int x, int y) {
    // The layers as a full redraw shows them: a hidden layer's mark stays hidden.
    const Settings& s = session_.settings();
    const ColourModel& colours = s.Colours;
    const World& w = session_.world();
    DrawCell(x, y, colours.BackgroundColour);
    if (s.EternalDeadRefresh && w.EternalDeadField.at(x, y) > 0)
        DrawCell(x, y, colours.DeadColour);
    if (s.EternalLifeRefresh && w.EternalLifeField.at(x, y) > 0)
        DrawCell(x, y, colours.BirthColour);
    if (s.OtherRealRefresh && w.OtherRealityField.at(x, y) > 0)
        DrawCell(x, y, colours.BigGridColour);
    if (s.MainLifeRefresh && w.MainField.at(x, y) > 0)
        DrawCell(x, y, colours.ColourOfState(w.MainField.at(x, y)));
}

void FieldView::DrawGridLines() {
    const int c = CellSize();
    if (c <= 3)
        return;
    const QSize s = SurfaceSize();
    const ColourModel& colours = session_.settings().Colours;
    auto lines = [&](int step, QRgb rgb) {
        if (step <= 0) {
            FillSurfaceRect(0, 0, s.width(), 1, rgb);
            FillSurfaceRect(0, 0, 1, s.height(), rgb);
            return;
        }
        for (int k = 0; k < s.height(); k += step)
            FillSurfaceRect(0, k, s.width(), k + 1, rgb);
        for (int k = 0; k < s.width(); k += step)
            FillSurfaceRect(k, 0, k + 1, s.height(), rgb);
    };
    lines(c, ToRgb(colours.GridColour));
    lines(session_.settings().SizeBigGrid * c, ToRgb(colours.BigGridColour));
}

void FieldView::DrawFrame() {
    const QSize s = SurfaceSize();
    const QRgb rgb = ToRgb(session_.settings().Colours.BigGridColour);
    FillSurfaceRect(0, 0, s.width(), 1, rgb);
    FillSurfaceRect(0, s.height() - 1, s.width(), s.height(), rgb);
    FillSurfaceRect(0, 0, 1, s.height(), rgb);
    FillSurfaceRect(s.width() - 1, 0, s.width(), s.height(), rgb);
}

void FieldView::ToggleGrid() {
    Settings& s = session_.settings();
    s.Grid = !s.Grid;
    if (s.Grid && s.SizeCells == 1) {
        s.SetSizeCells(2);
        emit CellGapChanged(s.SizeCells, CellGapMaximum());
    }
    UpdateInsets(false);
    RedrawView();
    emit GridChanged(s.Grid);
}

int FieldView::CellGapMaximum() const {
    return CellSize();
}

void FieldView::UpdateInsets(bool zooming) {
    const int gap = session_.settings().SizeCells;
    insetTrail_ = (gap - 1) / 2;
    insetLead_ = gap / 2;
    if (session_.settings().Grid && (!zooming || CellSize() >= 3))
        insetLead_ = insetTrail_ + 1;
    // The grid's extra pixel may not take a cell's last one: at one pixel per
    // cell, or the widest gap of an odd cell size, cells would vanish.
    if (insetLead_ + insetTrail_ >= CellSize())
        insetLead_ = std::max(0, CellSize() - 1 - insetTrail_);
}

void FieldView::SetCellGap(int gap) {
    session_.settings().SetSizeCells(gap);
    UpdateInsets(false);
    RedrawView();
}

void FieldView::ZoomAt(int column, int row, int direction) {
    Settings& s = session_.settings();
    const int sx = horizontalScrollBar()->value(), sy = verticalScrollBar()->value();
    const int c0 = s.CellSize;
    s.CellSize = c0 + ZoomStep(c0) * direction;  // clamped to 1..50
    UpdateScrollBars();
    horizontalScrollBar()->setValue(sx + (s.CellSize - c0) * column);
    verticalScrollBar()->setValue(sy + (s.CellSize - c0) * row);
    // The cell gap keeps within its track bar's new range.
    s.SetSizeCells(s.CellSize <= 2 ? 1 : s.SizeCells);
    emit CellGapChanged(s.SizeCells, CellGapMaximum());
    UpdateInsets(true);
    session_.world().SelectionVisible = false;
    RedrawView();
    emit ViewStatusChanged(ViewStatusText());
}

void FieldView::FitToField() {
    UpdateScrollBars();
    Settings& s = session_.settings();
    s.SetSizeCells(s.SizeCells);
    UpdateInsets(false);
    RedrawView();
    emit ViewStatusChanged(ViewStatusText());
}

void FieldView::UpdateScrollBars() {
    const QSize s = SurfaceSize(), v = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, s.width() - v.width()));
    verticalScrollBar()->setRange(0, std::max(0, s.height() - v.height()));
    horizontalScrollBar()->setPageStep(v.width());
    verticalScrollBar()->setPageStep(v.height());
    horizontalScrollBar()->setSingleStep(CellSize());
    verticalScrollBar()->setSingleStep(CellSize());
}

void FieldView::ShowStep(bool painted) {
    // At maximum speed generations come faster than anyone can watch: painting
    // each one costs as much as computing it, so the image is painted only for
    // the generations that are shown, a little over 30 times a second (the
    // clock counts from the start of the last frame, so its painting is included).
    behind_ = behind_ || !painted;
    if (sinceShown_.elapsed() >= 32) {
        CatchUp();
        // Steps of a small field follow each other so closely that a queued
        // repaint could wait behind them: the frame is painted now.
        viewport()->repaint();
    }
}

void FieldView::CatchUp() {
    sinceShown_.restart();
    if (behind_) {
        behind_ = false;
        PaintVisibleCells(session_.world(), session_.settings(), *this);
    }
    viewport()->update();
}

QString FieldView::ViewStatusText() const {
    const World& w = session_.world();
    QString text =
        QStringLiteral("%1-%2x%3").arg(CellSize()).arg(w.FieldWidth()).arg(w.FieldHeight());
    if (session_.settings().EnableTOR)
        text += "-W";
    return text;
}

QRgb FieldView::SurfacePixel(int x, int y) const {
    const int px = x - imageOrigin_.x(), py = y - imageOrigin_.y();
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height())
        return 0;
    return image_.pixel(px, py);
}

QImage FieldView::GrabSurface(const QRect& rect) const {
    QImage out(rect.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    const QRect source = rect.translated(-imageOrigin_).intersected(image_.rect());
    for (int y = source.top(); y <= source.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y + imageOrigin_.y() - rect.top()));
        std::copy(from + source.left(), from + source.right() + 1,
                  to + source.left() + imageOrigin_.x() - rect.left());
    }
    return out;
}

void FieldView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.drawImage(event->rect(), image_, event->rect());
}

void FieldView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    RedrawView();
}

void FieldView::scrollContentsBy(int, int) {
    RedrawView();
}

void FieldView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint() - SurfaceOrigin();
    const int c = CellSize();
    const World& w = session_.world();
    if (p.x() < 0 || p.y() < 0)
        return;
    const int column = p.x() / c + 1, row = p.y() / c + 1;
    if (column > w.FieldWidth() || row > w.FieldHeight())
        return;
    mouseCell_ = {column, row};
    emit PointerCellChanged(column - 1, row - 1);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void FieldView::wheelEvent(QWheelEvent* event) {
    event->accept();
    if (!wheelReady_)
        return;
    const QPoint p = event->position().toPoint() - SurfaceOrigin();
    const int c = CellSize();
    const int column = std::max(0, p.x()) / c + 1, row = std::max(0, p.y()) / c + 1;
    const int delta = event->angleDelta().y();
    if (delta > 0)
        ZoomAt(column, row, +1);
    if (delta < 0)
        ZoomAt(column, row, -1);
    wheelReady_ = false;
    wheelTimer_.start();
}

}  // namespace zentorix::app
