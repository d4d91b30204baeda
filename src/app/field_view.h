#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include "app/session.h"
#include "engine/step_observer.h"

namespace zentorix::app {

// The field view: a scrolling surface of FieldWidth x CellSize + 1 by
// FieldHeight x CellSize + 1 pixels (ScrollBox11 with its paint box PaintBox1).
// Only the visible part is held as an image: the step paints changed cells into
// it through DrawCell, a full redraw repaints it from the layers, and the paint
// event blits it.
class FieldView : public QAbstractScrollArea, public StepObserver {
    Q_OBJECT

  public:
    explicit FieldView(Session& session, QWidget* parent = nullptr);

    // StepObserver: the cells the step repaints, and one painted cell.
    CellRect VisibleWindow() const override;
    void DrawCell(int x, int y, Colour colour) final;
    // The image itself, so the step paints many cells without a call for each.
    PixelSurface* Surface() override;

    // Repaints every visible cell from the layers (with forceAllLayers whatever
    // the display switches say), then the grid and the frame.
    void RedrawView(bool forceAllLayers = false);
    // Repaints one cell from the layers, background first (after an edit).
    void RepaintCell(int x, int y);
    // Flips the grid and redraws it (drawn only above cell size 3).
    void ToggleGrid();
    // The cell gap of SizeCellsTrackBar: recomputes the insets and redraws.
    void SetCellGap(int gap);
    // One zoom step in (+1) or out (-1), keeping the given cell under the pointer.
    void ZoomAt(int column, int row, int direction);
    // The field size or cell size changed: resize the surface and repaint.
    void FitToField();
    // After a step: shows the field about 30 times a second. A step that did not
    // paint (`painted` false, during a run) leaves the image behind the field
    // until it is shown: it is then painted whole, once.
    void ShowStep(bool painted);
    // Brings a behind image up to the field and shows it (the run stopped).
    void CatchUp();

    // "7-160x140" plus "-W" in torus mode.
    QString ViewStatusText() const;
    // The cell gap's allowed maximum follows the cell size.
    int CellGapMaximum() const;
    int InsetLead() const { return insetLead_; }
    int InsetTrail() const { return insetTrail_; }
    QPoint SurfaceOrigin() const;
    QSize SurfaceSize() const;
    QPoint MouseCell() const { return mouseCell_; }
    // The surface's pixels in the rectangle (surface coordinates); black where
    // the view does not show the field.
    QImage GrabSurface(const QRect& rect) const;
    // Pixel colour at a surface position (for tests and screenshots).
    QRgb SurfacePixel(int x, int y) const;

    static int ZoomStep(int cellSize);

  signals:
    void ViewStatusChanged(const QString& text);
    // 0-based column and row under the pointer.
    void PointerCellChanged(int column, int row);
    void CellGapChanged(int gap, int maximum);
    // The grid was switched on or off.
    void GridChanged(bool on);
    // The whole visible field was repainted (the selection frame follows).
    void Redrawn();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void UpdateScrollBars();
    void UpdateInsets(bool zooming);
    void DrawGridLines();
    void DrawFrame();
    void FillSurfaceRect(int left, int top, int right, int bottom, QRgb rgb);
    int CellSize() const { return session_.settings().CellSize; }

    Session& session_;
    QImage image_;  // the viewport's pixels
    PixelSurface surface_;
    // Grows with every change to the image but the step's own paints.
    std::uint64_t imageVersion_ = 1;
    QPoint imageOrigin_;  // surface position of the image's top-left pixel
    int insetLead_ = 1;
    int insetTrail_ = 0;
    QPoint mouseCell_{0, 0};
    bool wheelReady_ = false;
    QTimer wheelTimer_;  // Timer4: re-arms wheel zooming
    QElapsedTimer sinceShown_;
    bool behind_ = false;  // generations were computed without painting
};

// A stored colour (red in the lowest byte) as a pixel value.
inline QRgb ToRgb(Colour c) {
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline Colour FromRgb(QRgb rgb) {
    return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
}

}  // namespace zentorix::app
