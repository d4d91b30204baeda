#include <gtest/gtest.h>

#include <limits>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "formats/snapshots.h"

namespace zentorix {
namespace {

using test::Cells;
using test::TempFolder;

// A program folder with its subfolders, a world and its settings.
struct Snapshots : ::testing::Test {
    TempFolder dir;
    ProgramFolder folder{dir.Path()};
    World w;
    Settings settings;
    Snapshots() { folder.CreateSubfolders(); }
};

TEST_F(Snapshots, QuickSaveNameHasNoLeadingZerosInTheTimeAndTheSameSecondReplacesTheFile) {
    EXPECT_EQ(QuickSaveFileName({2026, 12, 5, 9, 5, 7}), "-9_5_7_05.12.2026.qlf");
    EXPECT_EQ(QuickSaveFileName({2031, 1, 30, 23, 59, 0}), "-23_59_0_30.01.2031.qlf");
    const std::string now = QuickSaveFileName(CurrentLocalTime());
    EXPECT_EQ(now.find_first_of("/\\: "), std::string::npos) << now;

    // A complete snapshot; a second one in the same second replaces it.
    std::filesystem::remove_all(folder.QuickSave());  // made again when missing
    w.MainField.at(4, 4) = 1;
    const LocalDateTime moment{2026, 12, 5, 9, 5, 7};
    const auto first = QuickSave(w, settings, folder, moment);
    EXPECT_EQ(first, folder.QuickSave() / "-9_5_7_05.12.2026.qlf");
    w.MainField.at(4, 4) = 0;
    w.MainField.at(6, 6) = 1;
    EXPECT_EQ(QuickSave(w, settings, folder, moment), first);

    World back;
    Settings s;
    ReadNativeFile(back, s, first);
    EXPECT_EQ(test::AllLive(back.MainField), (Cells{{6, 6}}));
}

// Marks the state by one Main Field cell so a restore shows which snapshot it read.
void Mark(World& w, int n) {
    w.MainField.FillRect(0, 0, 20, 0, 0);
    w.MainField.at(n, 0) = 1;
}
int MarkOf(const World& w) {
    for (int x = 0; x <= 20; ++x)
        if (w.MainField.at(x, 0) > 0)
            return x;
    return -1;
}

TEST_F(Snapshots, UndoNumberingAcrossBackAndForward) {
    std::filesystem::remove_all(folder.Undo());
    // Two starts: snapshots 1 and 2, the counter then 3.
    Mark(w, 1);
    UndoSnapshot(w, settings, folder, w.UndoCounter);
    Mark(w, 2);
    UndoSnapshot(w, settings, folder, w.UndoCounter);
    EXPECT_EQ(w.UndoCounter, 3);
    EXPECT_TRUE(std::filesystem::exists(folder.Undo() / "1.qlf"));
    EXPECT_TRUE(std::filesystem::exists(folder.Undo() / "2.qlf"));

    Mark(w, 9);
    w.Counters.Generation = 40;
    NativeReadResult r = UndoBack(w, settings, folder);
    EXPECT_TRUE(r.stopRun);
    EXPECT_EQ(w.Counters.Generation, 1);
    EXPECT_EQ(w.UndoCounter, 2);
    EXPECT_EQ(MarkOf(w), 2);
    UndoBack(w, settings, folder);
    EXPECT_EQ(w.UndoCounter, 1);
    EXPECT_EQ(MarkOf(w), 1);
    UndoBack(w, settings, folder);
    EXPECT_EQ(w.UndoCounter, 1);
    EXPECT_EQ(MarkOf(w), 1);

    // A start after going back overwrites snapshot 1 and counts on from there;
    // the later snapshot of the old line stays reachable.
    Mark(w, 5);
    UndoSnapshot(w, settings, folder, w.UndoCounter);
    EXPECT_EQ(w.UndoCounter, 2);
    // 3.qlf does not exist: the run stops and nothing else changes.
    w.Counters.Generation = 17;
    w.Description = {"kept"};
    r = UndoForward(w, settings, folder);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.stopRun);
    EXPECT_EQ(w.Counters.Generation, 1);
    EXPECT_EQ(w.UndoCounter, 3);
    EXPECT_EQ(MarkOf(w), 5);
    EXPECT_EQ(w.Description, (std::vector<std::string>{"kept"}));
    UndoBack(w, settings, folder);
    EXPECT_EQ(MarkOf(w), 2);
    UndoBack(w, settings, folder);
    EXPECT_EQ(MarkOf(w), 5);
}

TEST_F(Snapshots, UndoAFailedSnapshotLeavesTheCounter) {
    std::filesystem::remove_all(folder.QuickSave());
    test::WriteBytes(folder.QuickSave(), "a file where the folder should be");
    EXPECT_THROW(UndoSnapshot(w, settings, folder, 1), FileError);
    EXPECT_EQ(w.UndoCounter, 1);
}

// A name with dots keeps them: the file is the one the overwrite question named.
TEST_F(Snapshots, MiniFileSelectionSavedUnderItsNameWithTheDescriptionGiven) {
    test::Draw(w.MainField, 40, 50, {"**.", ".*B"});
    w.Selection = {40, 50, 42, 51};
    const auto path = SaveSelectionFile(w, settings, dir.Path(), "pair.v2", {"a note"});
    EXPECT_EQ(path, dir.Path() / "pair.v2.mlf");
    EXPECT_EQ(path, SelectionFilePath(dir.Path(), "pair.v2"));
    EXPECT_EQ(w.Description, (std::vector<std::string>{"a note"}));
    World b;
    Settings sb;
    ReadNativeFile(b, sb, path);
    EXPECT_EQ(test::Shape(b.MainField), test::Shape(w.MainField));
    EXPECT_EQ(b.Description, w.Description);
}

struct PairPlacement : Snapshots {
    PairPlacement() {
        // 1.mlf: one cell of state 1 at (0, 0); 2.mlf: one cell of state 2 at (0, 0).
        test::WriteBytes(folder.Root / "1.mlf", "#Zentorix\r\n#FileType mini\r\n#L A\r\n");
        test::WriteBytes(folder.Root / "2.mlf", "#Zentorix\r\n#FileType mini\r\n#L B\r\n");
    }
    // Where the second pattern stands relative to the first.
    std::pair<int, int> SecondOffset() const {
        for (int x = -3; x <= w.ExtentX(); ++x)
            for (int y = -3; y <= w.ExtentY(); ++y)
                if (w.MainField.at(x, y) == 2)
                    return {x - 33, y - 33};
        return {0, 0};
    }
};

TEST_F(PairPlacement, OffsetsRunAlongTheRowThenDownByTheUpDownValue) {
    settings.UpDown4 = 3;
    w.MainField.at(100, 100) = 5;
    std::vector<std::pair<int, int>> offsets;
    for (int press = 0; press < 5; ++press) {
        PairPlacementStep(w, settings, folder);
        EXPECT_EQ(w.MainField.at(33, 33), 1);
        EXPECT_EQ(w.MainField.at(100, 100), 0);
        EXPECT_EQ(test::AllLive(w.MainField).size(), 2u);
        offsets.push_back(SecondOffset());
    }
    EXPECT_EQ(offsets, (Cells{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}}));
    EXPECT_EQ(w.PairOffsetX, 3);
    EXPECT_EQ(w.PairOffsetY, 2);
}

TEST_F(PairPlacement, OffsetsBeyondTheFieldAreClippedWithoutOverflow) {
    w.SetFieldWidth(40);
    w.SetFieldHeight(40);
    w.PairOffsetX = 8;  // a press puts the second cell at column 41, ExtentX
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(w.MainField.at(41, 34), 2);

    w.PairOffsetX = 9;  // 42: beyond the margin, dropped
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(test::AllLive(w.MainField), (Cells{{33, 33}}));

    w.PairOffsetX = std::numeric_limits<std::int32_t>::max();
    w.PairOffsetY = std::numeric_limits<std::int32_t>::max();
    settings.UpDown4 = 500;
    PairPlacementStep(w, settings, folder);
    EXPECT_EQ(test::AllLive(w.MainField).size(), 1u);
    EXPECT_EQ(w.PairOffsetX, 1);
    EXPECT_EQ(w.PairOffsetY, std::numeric_limits<std::int32_t>::max());
}

TEST_F(PairPlacement, AMissingFilePlacesWhatTheStagingGridHolds) {
    std::filesystem::remove(folder.Root / "2.mlf");
    PairPlacementStep(w, settings, folder);
    // The staging grid still holds 1.mlf's cell, placed a second time at the offset.
    EXPECT_EQ(w.MainField.at(33, 33), 1);
    EXPECT_EQ(w.MainField.at(34, 34), 1);
}

}  // namespace
}  // namespace zentorix
