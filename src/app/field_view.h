#pragma once

#include <QImage>
#include <QWidget>

#include "engine/step_observer.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix::app {

// Shows the Main Field. The view owns an image with one square per cell; the
// step paints changed cells into it and the paint event blits it.
class FieldView : public QWidget, public StepObserver {
    Q_OBJECT

  public:
    FieldView(World& world, Settings& settings, QWidget* parent = nullptr);

    // Repaints every cell from the grid.
    void RedrawView();
    QSize sizeHint() const override;

    CellRect VisibleWindow() const override;
    void DrawCell(int x, int y, Colour colour) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void EnsureImage();

    World& world_;
    Settings& settings_;
    QImage image_;
};

// Converts a stored colour (red in the lowest byte) to a pixel value.
inline QRgb ToRgb(Colour c) {
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace zentorix::app
