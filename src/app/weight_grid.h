#pragma once

#include <QWidget>
#include <array>

#include "model/rule_set.h"

class QSpinBox;

namespace zentorix::app {

// The 25 weight boxes StringNW .. String2S2E with their up-downs IntNW ..
// Int2S2E in the 5x5 grid of the neighbourhood, north row first. The panel is
// narrower than five whole boxes, so they lie packed, each over the blank left
// part of its eastern neighbour; the box under the pointer comes to the top and
// its western neighbour slides aside, and leaving the panel packs them again.
class WeightGrid : public QWidget {
    Q_OBJECT

  public:
    explicit WeightGrid(QWidget* parent = nullptr);

    // The up-down of a position (by PositionIndex).
    QSpinBox* box(int position) const { return boxes_[static_cast<std::size_t>(position)]; }
    // Every box at its packed place.
    void Pack();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QRect PackedPlace(int position) const;
    void Uncover(int position);

    std::array<QSpinBox*, kPositionCount> boxes_{};
};

}  // namespace zentorix::app
