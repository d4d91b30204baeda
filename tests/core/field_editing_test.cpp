#include <array>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "engine/rule_text.h"
#include "view/clipboard_text.h"
#include "view/field_editing.h"

namespace zentorix {
namespace {

using test::Cells;
using test::Draw;
using test::LiveCells;
using Rows = std::vector<std::string>;

struct Editing : ::testing::Test {
    World w;
    Settings s;
    Editing() {
        w.SetFieldWidth(40);
        w.SetFieldHeight(30);
    }
    Cells Live(Layer l = Layer::Main) const {
        return LiveCells(w.LayerField(l), kMainLow, kMainLow, kGridHigh, kGridHigh);
    }
    void Select(CellRect r) {
        w.Selection = r;
        w.SelectionVisible = true;
    }
};

TEST_F(Editing, PaintPressFlipsTheFirstActingLayerAndTheStrokeLeavesNoGaps) {
    s.OtherRealPaint = true;
    w.MainField.at(3, 3) = -1;  // a negative cell lets the next layer act
    EXPECT_EQ(PaintPress(w, s, 3, 3), 1);
    EXPECT_EQ(std::pair(w.OtherRealityField.at(3, 3), w.MainField.at(3, 3)), std::pair(1, -1));
    EXPECT_EQ(PaintPress(w, s, 0, 3) + PaintPress(w, s, 41, 3), -2);  // outside the shown field

    // A live main cell clears and the drag clears every passed cell in all targets.
    // Main holds cells past the field's edge too: the stroke leaves them.
    Draw(w.MainField, 1, 10, {"*********************************************"});
    Draw(w.OtherRealityField, 1, 10, {"****************************************"});
    std::vector<CellChange> changes;
    const int mode = PaintPress(w, s, 2, 10, &changes);
    EXPECT_EQ(mode, 0);
    PaintStroke(w, s, 2, 10, 30, 10, mode, &changes);
    PaintStroke(w, s, 30, 10, 45, 10, mode, &changes);  // runs off the field: clipped
    EXPECT_EQ(LiveCells(w.MainField, 1, 10, 45, 10),
              (Cells{{1, 10}, {41, 10}, {42, 10}, {43, 10}, {44, 10}, {45, 10}}));
    EXPECT_EQ(LiveCells(w.OtherRealityField, 1, 10, 40, 10), (Cells{{1, 10}}));
    UndoCellChanges(w, changes);
    EXPECT_EQ(LiveCells(w.MainField, 1, 10, 40, 10).size(), 40u);

    // A diagonal stroke fills one cell per step of its longer axis.
    PaintStroke(w, s, 1, 1, 9, 4, 1);
    EXPECT_EQ(LiveCells(w.MainField, 1, 1, 9, 4).size(), 9u);
}

// The paint flag of each layer, so a test can make any one the only target.
constexpr std::pair<Layer, bool Settings::*> kPaintTargets[] = {
    {Layer::Main, &Settings::MainLifePaint},
    {Layer::EternalLife, &Settings::EternalLifePaint},
    {Layer::EternalDead, &Settings::EternalDeadPaint},
    {Layer::OtherReality, &Settings::OtherRealPaint}};

// The block's cells as letters, '.' for an empty one.
std::vector<std::string> Block(const StateField& f, int x0, int y0, int w, int h) {
    std::vector<std::string> rows(static_cast<std::size_t>(h), std::string(w, '.'));
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (const int v = f.at(x0 + i, y0 + j))
                rows[j][i] = static_cast<char>('A' + v - 1);
    return rows;
}

// A 3 by 2 block of six different cells turned and mirrored in each paint
// target alone: every cell lands where it must, the other layers stay.
TEST_F(Editing, TransformsMoveEveryCellOfTheBlockInThePaintTarget) {
    const struct {
        TransformMode mode;
        std::vector<std::string> result;  // 3 by 3 from the block's top-left
    } rows[] = {
        {TransformMode::Turn90, {"CF.", "BE.", "AD."}},
        {TransformMode::TurnMinus90, {"DA.", "EB.", "FC."}},
        {TransformMode::Turn180, {"FED", "CBA", "..."}},
        {TransformMode::MirrorColumns, {"CBA", "FED", "..."}},
        {TransformMode::MirrorRows, {"DEF", "ABC", "..."}},
    };
    for (const auto& [layer, paint] : kPaintTargets)
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << "layer " << static_cast<int>(layer) << " mode "
                                            << static_cast<int>(r.mode));
            World world;
            Settings only;
            only.MainLifePaint = false;
            only.*paint = true;
            for (const auto& target : kPaintTargets)
                Draw(world.LayerField(target.first), 10, 10, {"ABC", "DEF"});
            world.Selection = {10, 10, 12, 11};
            TransformSelection(world, only, r.mode);
            for (const auto& target : kPaintTargets)
                EXPECT_EQ(Block(world.LayerField(target.first), 10, 10, 3, 3),
                          target.first == layer ? r.result : (Rows{"ABC", "DEF", "..."}));
        }

    // Cells beyond the extent are dropped.
    Draw(w.MainField, 38, 5, {"ABC"});
    Select({38, 5, 40, 5});
    TransformSelection(w, s, TransformMode::TurnMinus90);  // stays in column 38
    Select({40, 28, 40, 30});
    w.MainField.at(40, 29) = 9;
    w.MainField.at(40, 30) = 8;
    TransformSelection(w, s, TransformMode::Turn90);  // 3 wide from column 40: past ExtentX 41
    EXPECT_EQ((std::array{w.MainField.at(41, 28), w.MainField.at(42, 28), w.MainField.at(40, 30)}),
              (std::array{9, 0, 0}));
}

TEST_F(Editing, MovesCopiesClipAndAddStatesWithACap) {
    // In another layer, the only paint target: the block moves there alone, and
    // with Ctrl a copy goes over the original's overlapping part.
    for (const bool copy : {false, true}) {
        World world;
        Settings only;
        only.MainLifePaint = false;
        only.EternalDeadPaint = true;
        Draw(world.EternalDeadField, 10, 10, {"ABC", "DEF"});
        Draw(world.MainField, 10, 10, {"ABC", "DEF"});
        world.Selection = {10, 10, 12, 11};
        MoveSelection(world, only, 2, 1, copy);
        EXPECT_EQ(Block(world.EternalDeadField, 10, 10, 5, 3),
                  copy ? (Rows{"ABC..", "DEABC", "..DEF"}) : (Rows{".....", "..ABC", "..DEF"}));
        EXPECT_EQ(Block(world.MainField, 10, 10, 5, 3), (Rows{"ABC..", "DEF..", "....."}));
    }

    // A move past the layers' range stops at its edge, so no cell is lost:
    // right and down at the extent, left and up at the first margin cell.
    for (const auto& [dx, dy, x, y] : {std::array{500, 0, 39, 10}, std::array{0, 500, 10, 30},
                                       std::array{-500, -500, kLayerLow, kLayerLow}}) {
        World world;
        world.SetFieldWidth(40);
        world.SetFieldHeight(30);
        Draw(world.MainField, 10, 10, {"ABC", "DEF"});
        world.Selection = {10, 10, 12, 11};
        MoveSelection(world, s, dx, dy, false);
        EXPECT_EQ(Block(world.MainField, x, y, 3, 2), (Rows{"ABC", "DEF"})) << dx << "," << dy;
    }

    // Transparent: states add up, and never past 256.
    s.TransparentMode = true;
    w.MainField.at(1, 1) = 200;
    w.MainField.at(2, 1) = 100;
    Select({1, 1, 1, 1});
    MoveSelection(w, s, 1, 0, false);
    EXPECT_EQ(std::pair(w.MainField.at(1, 1), w.MainField.at(2, 1)),
              std::pair(0, kHighestEditedState));
    s.TransparentMode = false;

    // A block wider than the layers' range: the written cells are clipped, the
    // cells outside the margins never touched.
    World big;
    big.SetFieldWidth(999);
    big.MainField.FillRect(-3, 0, 1000, 0, 1);
    big.MainField.at(-11, 0) = 5;
    big.Selection = {-3, 0, 1001, 0};
    MoveSelection(big, s, 0, 2, false);
    EXPECT_EQ(LiveCells(big.MainField, kMainLow, 2, kGridHigh, 2).size(), 1004u);
    EXPECT_EQ(std::pair(big.MainField.at(1001, 2), big.MainField.at(-11, 0)), std::pair(0, 5));
}

TEST_F(Editing, ClipboardCopiesWhatFitsAndPastesAtTheCell) {
    // An empty clipboard pastes its one cell, (0, 0), opaquely.
    w.MainField.at(5, 5) = 1;
    PasteClipboard(w, 5, 5, true);
    EXPECT_EQ(w.MainField.at(5, 5), 0);

    Draw(w.MainField, 2, 2, {"A.B", ".C."});
    Select({2, 2, 4, 3});
    CopySelection(w, true);
    EXPECT_TRUE(Live().empty());
    EXPECT_EQ(std::pair(w.ClipboardLastColumn, w.ClipboardLastRow), std::pair(2, 1));
    w.MainField.at(21, 20) = 7;
    PasteClipboard(w, 20, 20, false);  // transparent: the empty cell keeps 7
    EXPECT_EQ(LiveCells(w.MainField, 20, 20, 22, 21),
              (Cells{{20, 20}, {21, 20}, {21, 21}, {22, 20}}));
    PasteClipboard(w, 20, 20, true);
    EXPECT_EQ(w.MainField.at(21, 20), 0);
    PasteClipboard(w, 40, 30, true);  // beyond the extents: dropped
    EXPECT_EQ(w.MainField.at(42, 30) + w.MainField.at(41, 30), 0);

    // A selection 1003 wide: 1000 columns fit and only those are cut.
    World big;
    big.SetFieldWidth(999);
    big.MainField.FillRect(-3, 1, 1000, 1, 1);
    big.Selection = {-3, 1, 1000, 1};
    CopySelection(big, true);
    EXPECT_EQ(std::pair(big.ClipboardLastColumn, big.ClipboardField.at(kClipboardHigh, 0)),
              std::pair(kClipboardHigh, 1));
    EXPECT_EQ(LiveCells(big.MainField, kMainLow, 1, kGridHigh, 1),
              (Cells{{997, 1}, {998, 1}, {999, 1}, {1000, 1}}));
}

TEST_F(Editing, ClipboardTextRoundTripsAndForeignTextKeepsOurRule) {
    Draw(w.MainField, 3, 3, {".*.", "..*", "***"});
    Select({2, 2, 6, 6});
    CopySelection(w, false);
    const std::string text = ClipboardRleText(w);
    EXPECT_NE(text.find("x = 3, y = 3, rule = B3/S23"), std::string::npos) << text;

    World other;
    const std::string ruleBefore = FormatRuleTokens(other.Rules[0]);
    EXPECT_EQ(DecodeClipboardText(other, text), "");
    EXPECT_EQ(LiveCells(other.ClipboardField, 0, 0, 5, 5),
              (Cells{{0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_EQ(other.ClipboardLastColumn, 2);

    // Another program's pattern with another rule: cells only.
    EXPECT_EQ(DecodeClipboardText(other, "#Life 1.06\n0 0\n5 1\n"), "");
    EXPECT_EQ(other.ClipboardLastColumn, 5);
    EXPECT_EQ(DecodeClipboardText(other, "x = 2, y = 1, rule = B36/S23\n2o!\n"), "");
    EXPECT_EQ(std::tuple(FormatRuleTokens(other.Rules[0]), test::AllLive(other.MainField).size(),
                         other.Description.size()),
              std::tuple(ruleBefore, 0u, 0u));

    // Text that is no pattern, or has no cell, leaves the clipboard as it was.
    EXPECT_NE(DecodeClipboardText(other, "hello world"), "");
    EXPECT_NE(DecodeClipboardText(other, "x = 3, y = 3\n3b!\n"), "");
    EXPECT_EQ(other.ClipboardLastColumn, 1);
}

}  // namespace
}  // namespace zentorix
