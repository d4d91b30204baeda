#pragma once

#include <QObject>
#include <QPoint>
#include <QWidget>
#include <vector>

#include "view/field_editing.h"

class QMouseEvent;

namespace zentorix::app {

class MainWindow;
class FieldView;

// The selection frame Shape1: an outline over the selected cells in the cell
// colour. It never takes the mouse; the view decides what a press on it means.
class SelectionFrame : public QWidget {
  public:
    explicit SelectionFrame(QWidget* parent);
    void SetColour(QRgb rgb);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRgb colour_ = 0;
};

// Editing on the field view PaintBox1: the Paint and Select tools, dragging the
// selection, and the commands on the selection and the clipboard.
class FieldEditing : public QObject {
    Q_OBJECT

  public:
    explicit FieldEditing(MainWindow& window);

    // Erase1Click: the selection in the erase targets.
    void EraseSelection();
    // Fillsolidselection1Click (solid) and FillRandomSelection2Click.
    void FillSelection(bool solid);
    void Transform(TransformMode mode);
    // N22Click (cut) and N21Click: the Main Field block into the clipboard, and
    // as RLE text onto the system clipboard.
    void CutOrCopy(bool cut);
    // N19Click: the clipboard at MouseCell; another program's pattern text on
    // the system clipboard is taken first.
    void Paste();
    // The whole shown field becomes the selection.
    void SelectAll();
    // The tool changed: the frame and the cursor follow.
    void ToolChanged();
    // PaintBox1ContextPopup: with the Select tool the last selection shows again.
    void ShowFrameForMenu();

    SelectionFrame* frame() const { return frame_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The 1-based cell under a viewport position, and whether it is in the field.
    QPoint CellAt(QPoint viewportPos) const;
    bool InField(QPoint cell) const;
    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void Release(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);
    void RepaintChanges(std::size_t from);
    // Places the frame over the cells (in the viewport), or hides it.
    void UpdateFrame();
    void SetFrameCells(const CellRect& cells);
    void PreviewMove();
    bool Selected() const;
    // Before a command that changes many cells: an undo snapshot.
    void SnapshotForUndo();

    MainWindow& window_;
    FieldView& view_;
    SelectionFrame* frame_;
    std::vector<CellChange> changes_;  // of the current paint press and drag
    QPoint lastPaintCell_;
    int drawMode_ = 1;
    bool painting_ = false;
    bool selecting_ = false;  // a Select drag spans a new selection
    QPoint selectPress_;
    bool dragging_ = false;  // the selection is being dragged
    QPoint grabCell_;
    QPoint moveOffset_;  // MoveOffset
    bool panning_ = false;
    bool panned_ = false;
    QPoint lastScreen_;
    QString ownClipboardText_;  // what we put on the system clipboard last
};

}  // namespace zentorix::app
