#include <limits>

#include "core/format_test_support.h"
#include "formats/snapshots.h"

namespace zentorix {
namespace {

using namespace test;

// A program folder with its subfolders, a world and its settings.
struct Snapshots : ::testing::Test {
    TempFolder dir;
    ProgramFolder folder{dir.Path()};
    World w;
    Settings settings;
    Snapshots() { folder.CreateSubfolders(); }
};

TEST_F(Snapshots, QuickSaveAndSelectionFilesAreNamedAndWrittenWhole) {
    EXPECT_EQ(QuickSaveFileName({2031, 1, 30, 23, 59, 0}), "-23_59_0_30.01.2031.qlf");

    // A complete snapshot, in the folder made again when missing; a second one in
    // the same second replaces it.
    std::filesystem::remove_all(folder.QuickSave());
    w.MainField.at(4, 4) = 1;
    const LocalDateTime moment{2026, 12, 5, 9, 5, 7};
    const auto first = QuickSave(w, settings, folder, moment);
    EXPECT_EQ(first, folder.QuickSave() / "-9_5_7_05.12.2026.qlf");
    w.MainField.at(4, 4) = 0;
    w.MainField.at(6, 6) = 1;
    EXPECT_EQ(QuickSave(w, settings, folder, moment), first);
    World back;
    ReadNativeFile(back, settings, first);
    EXPECT_EQ(AllLive(back.MainField), (Cells{{6, 6}}));

    // A selection saved as a mini file: a name with dots keeps them, so the file is
    // the one the overwrite question named.
    w.MainField.at(6, 6) = 0;
    Draw(w.MainField, 40, 50, {"**.", ".*B"});
    w.Selection = {40, 50, 42, 51};
    const auto path = SaveSelectionFile(w, settings, dir.Path(), "pair.v2", {"a note"});
    EXPECT_TRUE(path == dir.Path() / "pair.v2.mlf" &&
                path == SelectionFilePath(dir.Path(), "pair.v2"));
    EXPECT_EQ(w.Description, (std::vector<std::string>{"a note"}));
    ReadNativeFile(back, settings, path);
    EXPECT_EQ(std::pair(Shape(back.MainField), back.Description),
              std::pair(Shape(w.MainField), w.Description));

    // An undo snapshot that cannot be written leaves the counter.
    std::filesystem::remove_all(folder.QuickSave());
    WriteBytes(folder.QuickSave(), "a file where the folder should be");
    EXPECT_THROW(UndoSnapshot(w, settings, folder, 1), FileError);
    EXPECT_EQ(w.UndoCounter, 1);
}

// Back stops at snapshot 1; forward to a snapshot never written stops the run
// and changes nothing else. (Numbering across starts is the window's tests'.)
TEST_F(Snapshots, UndoBackStopsAtTheFirstAndForwardPastTheLast) {
    // One Main Field cell marks each snapshot, so a restore shows which it read.
    for (int n : {1, 2}) {
        w.MainField.Clear();
        w.MainField.at(n, 0) = 1;
        UndoSnapshot(w, settings, folder, w.UndoCounter);
    }
    const auto counterAndMark = [&] { return std::pair(w.UndoCounter, CellText(w.MainField)); };
    w.Counters.Generation = 40;
    EXPECT_TRUE(UndoBack(w, settings, folder).stopRun);
    EXPECT_EQ(std::pair(w.Counters.Generation, counterAndMark()),
              std::pair(1, std::pair(2, std::string("2,0"))));
    UndoBack(w, settings, folder);
    UndoBack(w, settings, folder);
    EXPECT_EQ(counterAndMark(), std::pair(1, std::string("1,0")));

    UndoForward(w, settings, folder);
    w.Counters.Generation = 17;
    w.Description = {"kept"};
    const NativeReadResult r = UndoForward(w, settings, folder);
    EXPECT_EQ(
        std::tuple(r.found, r.stopRun, w.Counters.Generation, counterAndMark(), w.Description),
        std::tuple(false, true, 1, std::pair(3, std::string("2,0")), Lines{"kept"}));
}

// 1.mlf holds one cell of state 1 at (0, 0), 2.mlf one of state 2.
struct PairPlacement : Snapshots {
    PairPlacement() {
        WriteBytes(folder.Root / "1.mlf", "#Zentorix\r\n#FileType mini\r\n#L A\r\n");
        WriteBytes(folder.Root / "2.mlf", "#Zentorix\r\n#FileType mini\r\n#L B\r\n");
    }
};

TEST_F(PairPlacement, OffsetsRunAlongTheRowThenDownByTheUpDownValue) {
    settings.UpDown4 = 3;
    w.MainField.at(100, 100) = 5;
    settings.EternalLifeErase = false;  // a layer that is no erase target stays
    w.EternalLifeField.at(7, 7) = 1;
    Lines presses;
    for (int press = 0; press < 5; ++press) {
        PairPlacementStep(w, settings, folder);
        presses.push_back(CellText(w.MainField));
    }
    EXPECT_EQ(presses, (Lines{"33,33 34,34=2", "33,33 35,34=2", "33,33 36,34=2", "33,33 34,35=2",
                              "33,33 35,35=2"}));
    EXPECT_EQ(std::pair(w.PairOffsetX, w.PairOffsetY), std::pair(3, 2));
    EXPECT_EQ(AllLive(w.EternalLifeField), (Cells{{7, 7}}));

    // Without 2.mlf the staging grid still holds 1.mlf's cell, placed a second
    // time at the offset.
    std::filesystem::remove(folder.Root / "2.mlf");
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(CellText(w.MainField), "33,33 36,35");
}

TEST_F(PairPlacement, OffsetsBeyondTheFieldAreClippedWithoutOverflow) {
    SetFieldSize(w, 40, 40);
    w.PairOffsetX = 8;  // a press puts the second cell at column 41, ExtentX
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(CellText(w.MainField), "33,33 41,34=2");
    w.PairOffsetX = 9;  // 42: beyond the margin, dropped
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(CellText(w.MainField), "33,33");

    w.PairOffsetX = w.PairOffsetY = std::numeric_limits<std::int32_t>::max();
    settings.UpDown4 = 500;
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(std::tuple(AllLive(w.MainField).size(), w.PairOffsetX, w.PairOffsetY),
              std::tuple(1u, 1, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace
}  // namespace zentorix
