#include "app/palette_editor.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <vector>

#include "app/field_view.h"

namespace zentorix::app {

namespace {

constexpr int kMargin = 2;
// The panel is never shorter than this many rows, so the page does not jump
// when only a few colours are in use.
constexpr int kMinimumRows = 8;

void Paint(QLabel* label, Colour colour, Colour text) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(ToRgb(colour)));
    p.setColor(QPalette::WindowText, QColor::fromRgb(ToRgb(text)));
    label->setPalette(p);
}

// The rectangle in which the pointer makes a panel's caption bold: one pixel
// beyond its left and top edge, two beyond its right and bottom edge.
QRect HoverRect(const QRect& panel) {
    return panel.adjusted(-1, -1, 2, 2);
}

}  // namespace

PaletteEditor::PaletteEditor(ColourModel& colours, ColourPicker picker, QWidget* parent)
    : QFrame(parent), colours_(colours), picker_(std::move(picker)) {
    setObjectName("ColorGenPanel");
    setMouseTracking(true);
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    for (int k = 1; k <= kPaletteSize; ++k) {
        auto* label = new QLabel(QString::number(k), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(49 + k));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->setFont(small);
        // The editor handles the pointer for all panels: hover, click, menu.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        panels_[static_cast<std::size_t>(k - 1)] = label;
    }
    BuildMenu();
    Refresh();
}

void PaletteEditor::BuildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName("PopupMenu2");
    auto add = [this](const char* name, const QString& caption, auto command) {
        QAction* action = menu_->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, command] {
            command();
            Refresh();
            emit PaletteEdited();
        });
    };
    using enum PaletteRange;
    add("BlackColorAll", tr("Задіяні — чорний"), [this] { FillPaletteBlack(colours_, InUse); });
    add("SilverColorAll", tr("Задіяні — сріблястий"),
        [this] { FillPaletteSilver(colours_, InUse); });
    add("BGColorAll", tr("Задіяні — колір фону"),
        [this] { FillPaletteBackground(colours_, InUse); });
    add("AnyColorAll", tr("Задіяні — інший колір..."), [this] { FillWithChosen(InUse); });
    menu_->addSeparator();
    add("BlackColorOther", tr("Решта — чорний"), [this] { FillPaletteBlack(colours_, Others); });
    add("SilverColorOther", tr("Решта — сріблястий"),
        [this] { FillPaletteSilver(colours_, Others); });
    add("BGColorOther", tr("Решта — колір фону"),
        [this] { FillPaletteBackground(colours_, Others); });
    add("AnyColorOther", tr("Решта — інший колір..."), [this] { FillWithChosen(Others); });
}

void PaletteEditor::FillWithChosen(PaletteRange range) {
    const int first = range == PaletteRange::InUse ? 1 : colours_.GenColourCount + 1;
    const Colour start = colours_.GenPalette[static_cast<std::size_t>(std::min(first, 256))];
    if (const auto colour = picker_(start))
        FillPaletteWith(colours_, range, *colour);
}

void PaletteEditor::Refresh() {
    bool layoutChanged = false;
    for (int k = 1; k <= kPaletteSize; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const Shown now{colours_.GenPalette[static_cast<std::size_t>(k)],
                        colours_.PanelTextColour[static_cast<std::size_t>(k)],
                        PanelShown(colours_, k)};
        Shown& was = shown_[i];
        if (now.colour != was.colour || now.text != was.text)
            Paint(panels_[i], now.colour, now.text);
        if (now.visible != was.visible) {
            panels_[i]->setVisible(now.visible);
            layoutChanged = true;
            // A hidden panel keeps no highlight: it could not be clicked, and it
            // must not be set by a click once it is shown again.
            SetBold(k, false);
        }
        was = now;
    }
    if (layoutChanged)
        updateGeometry();
}

int PaletteEditor::RowPitch() const {
    return std::max(13, panels_[0]->fontMetrics().height()) + kGap;
}

int PaletteEditor::ShownRows() const {
    return (ClampColourCount(colours_.GenColourCount) - 1) / kColumns + 1;
}

QSize PaletteEditor::sizeHint() const {
    const int rows = std::max(ShownRows(), kMinimumRows);
    const int width = kColumns * panels_[0]->fontMetrics().horizontalAdvance("0000") +
                      (kColumns - 1) * kGap + 2 * kMargin;
    return {width, rows * RowPitch() - kGap + 2 * kMargin};
}

QSize PaletteEditor::minimumSizeHint() const {
    return {kColumns * 20 + (kColumns - 1) * kGap + 2 * kMargin, sizeHint().height()};
}

void PaletteEditor::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlacePanels();
}

void PaletteEditor::PlacePanels() {
    const int usable = width() - 2 * kMargin - (kColumns - 1) * kGap;
    const int panelWidth = std::max(1, usable / kColumns);
    const int pitch = RowPitch();
    for (int k = 1; k <= kPaletteSize; ++k) {
        const int row = (k - 1) / kColumns, column = (k - 1) % kColumns;
        panel(k)->setGeometry(kMargin + column * (panelWidth + kGap), kMargin + row * pitch,
                              panelWidth, pitch - kGap);
    }
}

void PaletteEditor::SetBold(int entry, bool bold) {
    auto& flag = bold_[static_cast<std::size_t>(entry - 1)];
    if (flag == bold)
        return;
    flag = bold;
    QLabel* label = panel(entry);
    QFont f = label->font();
    f.setBold(bold);
    label->setFont(f);
}

void PaletteEditor::Hover(QPoint at) {
    for (int k = 1; k <= kPaletteSize; ++k) {
        QLabel* label = panel(k);
        SetBold(k, label->isVisibleTo(this) && HoverRect(label->geometry()).contains(at));
    }
}

int PaletteEditor::EntryAt(QPoint at) const {
    for (int k = 1; k <= kPaletteSize; ++k)
        if (panel(k)->isVisibleTo(this) && panel(k)->geometry().contains(at))
            return k;
    return 0;
}

void PaletteEditor::mouseMoveEvent(QMouseEvent* event) {
    Hover(event->position().toPoint());
    QFrame::mouseMoveEvent(event);
}

void PaletteEditor::leaveEvent(QEvent* event) {
    Hover(QPoint(-100, -100));
    QFrame::leaveEvent(event);
}

void PaletteEditor::mousePressEvent(QMouseEvent* event) {
    pressed_ = 0;
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        Hover(at);
        pressed_ = EntryAt(at);
    }
    QFrame::mousePressEvent(event);
}

void PaletteEditor::mouseReleaseEvent(QMouseEvent* event) {
    const int clicked = pressed_;
    pressed_ = 0;
    if (event->button() == Qt::LeftButton && clicked != 0 &&
        EntryAt(event->position().toPoint()) == clicked)
        EditEntries(clicked);
    QFrame::mouseReleaseEvent(event);
}

// Panel99Click: the chosen colour goes to every highlighted entry in use.
void PaletteEditor::EditEntries(int clicked) {
    // Taken before the dialog opens: the pointer leaves the panels meanwhile.
    std::vector<int> entries;
    for (int k = 1; k <= ClampColourCount(colours_.GenColourCount); ++k)
        if (IsBold(k))
            entries.push_back(k);
    const auto colour = picker_(colours_.GenPalette[static_cast<std::size_t>(clicked)]);
    if (!colour)
        return;
    bool changed = false;
    for (int k : entries)
        changed = SetPaletteEntry(colours_, k, *colour) || changed;
    Refresh();
    if (changed)
        emit PaletteEdited();
}

void PaletteEditor::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

}  // namespace zentorix::app
