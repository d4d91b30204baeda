#pragma once

#include <QFrame>
#include <array>
#include <functional>
#include <optional>

#include "view/palette_commands.h"

class QLabel;
class QMenu;

namespace zentorix::app {

// The generation palette editor ColorGenPanel: one small panel per entry
// ("Panel50".."Panel305", entry k is "Panel" + (49 + k)) in rows of five, only the
// entries in use shown (entry 1 always). The panel under the pointer has a bold
// caption; a click picks a colour for it; the context menu PopupMenu2 fills the
// entries in use or the others.
class PaletteEditor : public QFrame {
    Q_OBJECT

  public:
    // Asks the user for a colour, starting from the given one; nothing on cancel.
    using ColourPicker = std::function<std::optional<Colour>(Colour)>;

    static constexpr int kColumns = 5;
    // Free pixels between two panels. The hover rectangle of a panel reaches 1
    // pixel past its left and top edge and 2 past its right and bottom edge, so
    // with 3 pixels between panels no two hover rectangles overlap and a click
    // never changes a neighbour of the panel clicked.
    static constexpr int kGap = 3;

    PaletteEditor(ColourModel& colours, ColourPicker picker, QWidget* parent = nullptr);

    // The panels follow the model: colours, caption colours, which are shown.
    void Refresh();
    QLabel* panel(int entry) const { return panels_[static_cast<std::size_t>(entry - 1)]; }
    // Entries whose caption is bold (under the pointer).
    bool IsBold(int entry) const { return bold_[static_cast<std::size_t>(entry - 1)]; }
    QMenu* contextMenu() const { return menu_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // Entries changed through the editor (StateColour is already rebuilt).
    void PaletteEdited();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    struct Shown {
        Colour colour = -1;
        Colour text = -1;
        bool visible = false;
    };

    void BuildMenu();
    void PlacePanels();
    int RowPitch() const;
    int ShownRows() const;
    // Bold captions for the panels whose hover rectangle holds the point.
    void Hover(QPoint at);
    void SetBold(int entry, bool bold);
    // The shown panel whose own rectangle holds the point, or 0.
    int EntryAt(QPoint at) const;
    void EditEntries(int clicked);
    void FillWithChosen(PaletteRange range);

    ColourModel& colours_;
    ColourPicker picker_;
    std::array<QLabel*, kPaletteSize> panels_{};
    std::array<Shown, kPaletteSize> shown_{};
    std::array<bool, kPaletteSize> bold_{};
    QMenu* menu_ = nullptr;
    int pressed_ = 0;  // entry under the left button's press
};

}  // namespace zentorix::app
