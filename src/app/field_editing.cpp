#include "app/field_editing.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/main_window.h"
#include "engine/field_regions.h"
#include "view/clipboard_text.h"

namespace zentorix::app {

SelectionFrame::SelectionFrame(QWidget* parent) : QWidget(parent) {
    setObjectName("Shape1");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void SelectionFrame::SetColour(QRgb rgb) {
    if (colour_ != rgb) {
        colour_ = rgb;
        update();
    }
}

void SelectionFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(colour_));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

FieldEditing::FieldEditing(MainWindow& window)
    : QObject(&window),
      window_(window),
      view_(window.fieldView()),
      frame_(new SelectionFrame(view_.viewport())) {
    view_.viewport()->installEventFilter(this);
    connect(&view_, &FieldView::Redrawn, this, &FieldEditing::UpdateFrame);
}

QPoint FieldEditing::CellAt(QPoint viewportPos) const {
    const QPoint p = viewportPos - view_.SurfaceOrigin();
    const int c = window_.session().settings().CellSize;
    // Whole cells also left of and above the field, so that no cell is split.
    auto cell = [c](int v) { return (v >= 0 ? v / c : (v - c + 1) / c) + 1; };
    return {cell(p.x()), cell(p.y())};
}

bool FieldEditing::InField(QPoint cell) const {
    const World& w = window_.session().world();
    return cell.x() >= 1 && cell.y() >= 1 && cell.x() <= w.FieldWidth() &&
           cell.y() <= w.FieldHeight();
}

bool FieldEditing::Selected() const {
    const World& w = window_.session().world();
    return w.SelectionVisible && !w.Selection.Empty();
}

bool FieldEditing::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_.viewport())
        return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            Press(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            Move(static_cast<QMouseEvent*>(event));
            return false;  // the view shows the pointer's cell
        case QEvent::MouseButtonRelease:
            Release(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            DoubleClick(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::ContextMenu:
            // The right button pans; its release opens the menu when it did not.
            return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
        default:
            return false;
    }
}

void FieldEditing::Press(QMouseEvent* event) {
    lastScreen_ = event->globalPosition().toPoint();
    const QPoint cell = CellAt(event->position().toPoint());
    view_.viewport()->setCursor(event->button() == Qt::MiddleButton ? Qt::SizeAllCursor
                                                                    : Qt::ArrowCursor);
    if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) {
        panning_ = true;
        panned_ = false;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    Session& session = window_.session();
    World& world = session.world();
    if (session.settings().Paint) {
        changes_.clear();
        if (!InField(cell))
            return;
        drawMode_ = PaintPress(world, session.settings(), cell.x(), cell.y(), &changes_);
        painting_ = drawMode_ >= 0;
        lastPaintCell_ = cell;
        RepaintChanges(0);
        return;
    }
    if (Selected() && frame_->isVisible() &&
        frame_->geometry().contains(event->position().toPoint())) {
        dragging_ = true;
        grabCell_ = cell;
        moveOffset_ = {0, 0};
        return;
    }
    selecting_ = true;
    selectPress_ = cell;
    world.SelectionVisible = false;
    SetFrameCells(DraggedSelection(cell.x(), cell.y(), cell.x(), cell.y()));
}

void FieldEditing::Move(QMouseEvent* event) {
    // Keys go to the window, not to a text box the user left for the field.
    if (auto* box = window_.findChild<QCheckBox*>("EternalLifeOnStatusBar");
        box && !box->hasFocus() && window_.isActiveWindow())
        box->setFocus();
    const QPoint cell = CellAt(event->position().toPoint());
    if (!InField(cell))
        return;
    const Qt::MouseButtons buttons = event->buttons();
    if (panning_ && (buttons & (Qt::MiddleButton | Qt::RightButton))) {
        const QPoint now = event->globalPosition().toPoint();
        const QPoint delta = lastScreen_ - now;
        panned_ = panned_ || !delta.isNull();
        view_.horizontalScrollBar()->setValue(view_.horizontalScrollBar()->value() + delta.x());
        view_.verticalScrollBar()->setValue(view_.verticalScrollBar()->value() + delta.y());
        lastScreen_ = now;
    }
    if (!(buttons & Qt::LeftButton))
        return;
    Session& session = window_.session();
    if (painting_) {
        const std::size_t from = changes_.size();
        PaintStroke(session.world(), session.settings(), lastPaintCell_.x(), lastPaintCell_.y(),
                    cell.x(), cell.y(), drawMode_, &changes_);
        lastPaintCell_ = cell;
        RepaintChanges(from);
    } else if (selecting_) {
        SetFrameCells(DraggedSelection(selectPress_.x(), selectPress_.y(), cell.x(), cell.y()));
    } else if (dragging_ && cell - grabCell_ != moveOffset_) {
        moveOffset_ = cell - grabCell_;
        PreviewMove();
    }
}

void FieldEditing::Release(QMouseEvent* event) {
    Session& session = window_.session();
    World& world = session.world();
    view_.viewport()->setCursor(session.settings().Paint ? Qt::ArrowCursor : Qt::CrossCursor);
    const QPoint cell = CellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        painting_ = false;
        if (selecting_) {
            selecting_ = false;
            world.Selection =
                DraggedSelection(selectPress_.x(), selectPress_.y(), cell.x(), cell.y());
            world.SelectionVisible = true;
            UpdateFrame();
        } else if (dragging_) {
            dragging_ = false;
            const QPoint offset = cell - grabCell_;
            moveOffset_ = {0, 0};
            if (offset.isNull()) {
                view_.RedrawView();  // a click on the frame keeps the selection
                return;
            }
            SnapshotForUndo();
            const bool copy = event->modifiers() & Qt::ControlModifier;
            MoveSelection(world, session.settings(), offset.x(), offset.y(), copy);
            world.SelectionVisible = false;
            view_.RedrawView();
        }
    }
    if (event->button() == Qt::RightButton && !panned_)
        emit view_.customContextMenuRequested(
            view_.viewport()->mapTo(&view_, event->position().toPoint()));
    if (!(event->buttons() & (Qt::MiddleButton | Qt::RightButton)))
        panning_ = false;
}

void FieldEditing::DoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The double click's first press painted a cell; the double click only
    // switches the tool, so that cell goes back.
    Session& session = window_.session();
    if (session.settings().Paint) {
        UndoCellChanges(session.world(), changes_);
        RepaintChanges(0);
        changes_.clear();
        painting_ = false;
    }
    window_.SetPaintTool(!session.settings().Paint);
}

void FieldEditing::RepaintChanges(std::size_t from) {
    for (std::size_t i = from; i < changes_.size(); ++i)
        view_.RepaintCell(changes_[i].x, changes_[i].y);
    if (from < changes_.size())
        view_.viewport()->update();
}

void FieldEditing::SetFrameCells(const CellRect& cells) {
    const int c = window_.session().settings().CellSize;
    const QPoint origin = view_.SurfaceOrigin();
    frame_->SetColour(ToRgb(window_.session().settings().Colours.CellColour));
    if (cells.Empty()) {
        // A drag that has not yet passed a whole cell: a small frame at the corner.
        frame_->setGeometry(origin.x() + cells.FirstColumn * c - c,
                            origin.y() + cells.FirstRow * c - c, 2, 2);
    } else {
        frame_->setGeometry(origin.x() + (cells.FirstColumn - 1) * c,
                            origin.y() + (cells.FirstRow - 1) * c,
                            (cells.LastColumn - cells.FirstColumn + 1) * c + 1,
                            (cells.LastRow - cells.FirstRow + 1) * c + 1);
    }
    frame_->show();
    frame_->raise();
}

void FieldEditing::UpdateFrame() {
    if (selecting_)
        return;
    const World& world = window_.session().world();
    if (!world.SelectionVisible || world.Selection.Empty()) {
        frame_->hide();
        return;
    }
    CellRect r = world.Selection;
    r.FirstColumn += moveOffset_.x(), r.LastColumn += moveOffset_.x();
    r.FirstRow += moveOffset_.y(), r.LastRow += moveOffset_.y();
    SetFrameCells(r);
}

void FieldEditing::PreviewMove() {
    view_.RedrawView();  // the frame follows through Redrawn
    const Session& session = window_.session();
    const World& world = session.world();
    const Settings& s = session.settings();
    const ColourModel& colours = s.Colours;
    const CellRect& r = world.Selection;
    const CellRect shown = view_.VisibleWindow();
    const int dx = moveOffset_.x(), dy = moveOffset_.y();
    const int x0 = std::max(r.FirstColumn + dx, shown.FirstColumn);
    const int x1 = std::min(r.LastColumn + dx, shown.LastColumn);
    const int y0 = std::max(r.FirstRow + dy, shown.FirstRow);
    const int y1 = std::min(r.LastRow + dy, shown.LastRow);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            const int sx = x - dx, sy = y - dy;
            if (s.EternalDeadPaint && world.EternalDeadField.Get(sx, sy) > 0)
                view_.DrawCell(x, y, colours.DeadColour);
            if (s.EternalLifePaint && world.EternalLifeField.Get(sx, sy) > 0)
                view_.DrawCell(x, y, colours.BirthColour);
            if (s.OtherRealPaint && world.OtherRealityField.Get(sx, sy) > 0)
                view_.DrawCell(x, y, colours.BigGridColour);
            if (s.MainLifePaint && world.MainField.Get(sx, sy) > 0)
                view_.DrawCell(x, y, colours.ColourOfState(world.MainField.Get(sx, sy)));
        }
    view_.viewport()->update();
}

void FieldEditing::SnapshotForUndo() {
    window_.TakeUndoSnapshot();
}

void FieldEditing::EraseSelection() {
    if (!Selected())
        return;
    SnapshotForUndo();
    Session& session = window_.session();
    EraseRegion(session.world(), session.settings(), session.world().Selection, false);
    view_.RedrawView(true);
}

void FieldEditing::FillSelection(bool solid) {
    if (!Selected())
        return;
    SnapshotForUndo();
    Session& session = window_.session();
    FillRegion(session.world(), session.settings(), session.world().Selection, FillTargets::Paint,
               solid ? 100 : static_cast<int>(session.settings().RandomFillIntensity));
    view_.RedrawView();
}

void FieldEditing::Transform(TransformMode mode) {
    if (!Selected())
        return;
    SnapshotForUndo();
    Session& session = window_.session();
    TransformSelection(session.world(), session.settings(), mode);
    session.world().SelectionVisible = false;
    view_.RedrawView();
}

void FieldEditing::CutOrCopy(bool cut) {
    if (!Selected())
        return;
    Session& session = window_.session();
    if (cut)
        SnapshotForUndo();
    CopySelection(session.world(), cut);
    ownClipboardText_ = ToQString(ClipboardRleText(session.world()));
    QGuiApplication::clipboard()->setText(ownClipboardText_);
    view_.RedrawView();
}

void FieldEditing::Paste() {
    Session& session = window_.session();
    World& world = session.world();
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty() && text != ownClipboardText_) {
        bool isPattern = false;
        const std::string problem = DecodeClipboardText(world, ToStd(text), &isPattern);
        if (isPattern && !problem.empty()) {
            window_.ShowFailure(
                tr("Візерунок із буфера обміну не вставлено: %1").arg(ToQString(problem)));
            return;
        }
        // Text that is no pattern leaves our own clipboard to be pasted.
        if (isPattern)
            ownClipboardText_ = text;
    }
    SnapshotForUndo();
    const QPoint at = view_.MouseCell();
    PasteClipboard(world, at.x(), at.y(), true);
    view_.RedrawView();
}

void FieldEditing::SelectAll() {
    World& world = window_.session().world();
    world.Selection = {1, 1, world.FieldWidth(), world.FieldHeight()};
    world.SelectionVisible = true;
    UpdateFrame();
}

void FieldEditing::ToolChanged() {
    const bool paint = window_.session().settings().Paint;
    if (paint) {
        window_.session().world().SelectionVisible = false;
        UpdateFrame();
    }
    view_.viewport()->setCursor(paint ? Qt::ArrowCursor : Qt::CrossCursor);
}

void FieldEditing::ShowFrameForMenu() {
    World& world = window_.session().world();
    if (!window_.session().settings().Paint && !world.Selection.Empty()) {
        world.SelectionVisible = true;
        UpdateFrame();
    }
}

}  // namespace zentorix::app
