#include <gtest/gtest.h>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/format_error.h"
#include "formats/layer_files.h"

namespace zentorix {
namespace {

using test::FileLines;
using test::TempFolder;

struct Library {
    TempFolder dir;
    ProgramFolder folder{dir.Path()};
    Library() { folder.CreateSubfolders(); }
};

TEST(LayerFiles, EternalLifeFileRoundTripReplacesTheWholeLayer) {
    Library lib;
    World a;
    Settings sa;
    a.SetFieldWidth(50);
    a.SetFieldHeight(30);
    test::Draw(a.EternalLifeField, 0, 0, {"*..*", "....", ".**."});
    a.EternalLifeField.at(50, 30) = 3;
    sa.EternalLifeOn = false;
    sa.EternalLifePeriod = 12;
    sa.EternalLifeIntensity = 4;
    const auto path = SaveLayerFile(a, sa, lib.folder, Layer::EternalLife, "hills");
    EXPECT_EQ(path, lib.folder.Field() / "hills.bfld");
    const auto lines = FileLines(path);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "#File of Eternal Life Field for Zentorix");
    EXPECT_EQ(lines[1], "#FileName hills");
    EXPECT_TRUE(StartsWith(lines[2], "#DateTime "));
    EXPECT_EQ(lines[3], "#EternalLifeOn        0");
    EXPECT_EQ(lines[4], "#EternalLifePeriod    12");
    EXPECT_EQ(lines[5], "#EternalLifeIntensity 4");
    EXPECT_TRUE(StartsWith(lines[6], "#LB "));

    World b;
    Settings sb;
    b.SetFieldWidth(50);
    b.SetFieldHeight(30);
    b.EternalLifeField.at(-2, -2) = 1;  // a margin cell the file does not hold
    b.EternalLifeField.at(20, 20) = 1;
    b.MainField.at(1, 1) = 4;
    sb.EternalDeadIntensity = 9;
    ASSERT_TRUE(LoadLayerFile(b, sb, lib.folder, Layer::EternalLife, "hills"));
    EXPECT_FALSE(sb.EternalLifeOn);
    EXPECT_EQ(sb.EternalLifePeriod, 12);
    EXPECT_EQ(sb.EternalLifeIntensity, 4);
    EXPECT_EQ(sb.EternalDeadIntensity, 9);
    EXPECT_EQ(test::LiveCells(b.EternalLifeField, -3, -3, 51, 31),
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 2}, {2, 2}, {3, 0}, {50, 30}}));
    EXPECT_EQ(b.EternalLifeField.at(50, 30), 3);
    EXPECT_EQ(b.MainField.at(1, 1), 4);
}

TEST(LayerFiles, OtherRealityFileCarriesSpeedSwitchesAndRuleSetOne) {
    Library lib;
    World a;
    Settings sa;
    std::string rule = "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI4,RB100,";
    for (int sum = 10; sum < 30; ++sum)
        rule += "RB" + std::to_string(sum) + ",";
    ParseRuleString(a, rule, kFamilyZentorix, 1);
    const std::string text = RuleToString(a, 0, 1);
    ASSERT_EQ(text.size(), 150u);
    sa.OtherRealityOn = true;
    sa.Synchronization = true;
    sa.SpeedOtherReality = 7;
    a.OtherRealityField.at(3, 4) = 2;
    SaveLayerFile(a, sa, lib.folder, Layer::OtherReality, "area");
    const auto lines = FileLines(lib.folder.Field() / "area.rfld");
    std::vector<std::size_t> ruleLines;
    for (const auto& l : lines)
        if (StartsWith(l, "#R1 "))
            ruleLines.push_back(l.size() - 4);
    EXPECT_EQ(ruleLines, (std::vector<std::size_t>{77, 73}));

    World b;
    Settings sb;
    sb.EternalDeadIntensity = 9;
    ASSERT_TRUE(LoadLayerFile(b, sb, lib.folder, Layer::OtherReality, "area"));
    EXPECT_TRUE(sb.OtherRealityOn);
    EXPECT_TRUE(sb.Synchronization);
    EXPECT_EQ(sb.SpeedOtherReality, 7);
    EXPECT_EQ(sb.EternalDeadIntensity, 9);
    EXPECT_EQ(b.OtherRealityField.at(3, 4), 2);
    EXPECT_EQ(RuleToString(b, 0, 1), text);

    // The reader also knows the feedback switch that the writer leaves out.
    test::WriteBytes(lib.folder.Field() / "fb.rfld", "#FeedBack             1\r\n#LR A\r\n");
    ASSERT_TRUE(LoadLayerFile(b, sb, lib.folder, Layer::OtherReality, "fb"));
    EXPECT_TRUE(sb.FeedBack);
    EXPECT_EQ(b.OtherRealityField.at(3, 4), 0);
    EXPECT_EQ(b.OtherRealityField.at(0, 0), 1);
}

TEST(LayerFiles, DefaultNamesAndTheSortedList) {
    Library lib;
    World a;
    Settings s;
    SaveLayerFile(a, s, lib.folder, Layer::EternalLife, "zeta");
    SaveLayerFile(a, s, lib.folder, Layer::EternalLife, "alpha");
    SaveLayerFile(a, s, lib.folder, Layer::EternalDead, "other");
    auto list = ListLayerFiles(lib.folder, Layer::EternalLife);
    ASSERT_EQ(list.size(), 2u);
    const std::string name = DefaultLayerFileName(Layer::EternalLife, 2);
    EXPECT_EQ(name, "EternalLifeField2");
    SaveLayerFile(a, s, lib.folder, Layer::EternalLife, name);
    EXPECT_TRUE(std::filesystem::exists(lib.folder.Field() / "EternalLifeField2.bfld"));
    list = ListLayerFiles(lib.folder, Layer::EternalLife);
    EXPECT_EQ(list, (std::vector<std::string>{"EternalLifeField2", "alpha", "zeta"}));
    EXPECT_EQ(ListLayerFiles(lib.folder, Layer::EternalDead), (std::vector<std::string>{"other"}));
    EXPECT_TRUE(ListLayerFiles(lib.folder, Layer::OtherReality).empty());
    EXPECT_EQ(DefaultLayerFileName(Layer::OtherReality, 0), "OtherRealityField0");
}

TEST(LayerFiles, MissingFileBadNumberAndMissingFolder) {
    Library lib;
    World b;
    Settings sb;
    b.EternalDeadField.at(5, 5) = 1;
    EXPECT_FALSE(LoadLayerFile(b, sb, lib.folder, Layer::EternalDead, "none"));
    EXPECT_EQ(b.EternalDeadField.at(5, 5), 1);

    test::WriteBytes(lib.folder.Field() / "bad.dfld",
                     "#EternalDeadOn        1\r\n#EternalDeadPeriod    x7\r\n#LD 3A\r\n");
    EXPECT_THROW(LoadLayerFile(b, sb, lib.folder, Layer::EternalDead, "bad"), FormatError);
    EXPECT_TRUE(sb.EternalDeadOn);
    EXPECT_EQ(b.EternalDeadField.at(5, 5), 1);
    EXPECT_EQ(b.EternalDeadField.at(0, 0), 0);

    std::filesystem::remove_all(lib.folder.Field());
    EXPECT_THROW(SaveLayerFile(b, sb, lib.folder, Layer::EternalDead, "x"), FileError);
    EXPECT_TRUE(ListLayerFiles(lib.folder, Layer::EternalDead).empty());
}

TEST(LayerFiles, CopyLayerCoversTheFieldAndItsMargins) {
    World w;
    w.SetFieldWidth(40);
    w.SetFieldHeight(30);
    w.MainField.at(-3, -3) = 2;
    w.MainField.at(41, 31) = 3;
    w.MainField.at(42, 10) = 4;  // beyond the extent: not copied
    w.MainField.at(10, 10) = 1;
    w.OtherRealityField.at(11, 11) = 1;
    Settings s;
    s.CopyFromComboBox = 0;
    s.CopyToComboBox = 3;
    CopyFieldButtonClick(w, s);
    EXPECT_EQ(test::LiveCells(w.OtherRealityField, -3, -3, 1001, 1001),
              (std::vector<std::pair<int, int>>{{-3, -3}, {10, 10}, {41, 31}}));
    EXPECT_EQ(w.OtherRealityField.at(41, 31), 3);

    CopyLayer(w, Layer::EternalDead, Layer::EternalDead);
    CopyLayer(w, Layer::OtherReality, Layer::OtherReality);
    EXPECT_EQ(test::LiveCells(w.OtherRealityField, -3, -3, 1001, 1001).size(), 3u);
}

}  // namespace
}  // namespace zentorix
