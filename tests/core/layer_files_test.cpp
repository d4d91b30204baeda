#include "formats/layer_files.h"
#include "core/format_test_support.h"

namespace zentorix {
namespace {

using namespace test;

// A program folder with its library folder, and worlds to save and load.
struct LayerFiles : ::testing::Test {
    TempFolder dir;
    ProgramFolder folder{dir.Path()};
    World a, b;
    Settings sa, sb;
    LayerFiles() { folder.CreateSubfolders(); }
};

// The settings of the three library files, three to a file in the order of kLayers.
std::vector<int> LandscapeKeys(const Settings& s) {
    return {s.EternalLifeOn,  s.EternalLifePeriod, s.EternalLifeIntensity,
            s.EternalDeadOn,  s.EternalDeadPeriod, s.EternalDeadIntensity,
            s.OtherRealityOn, s.Synchronization,   s.SpeedOtherReality};
}
constexpr std::pair<Layer, const char*> kLayers[] = {
    {Layer::EternalLife, "#File of Eternal Life Field for Zentorix"},
    {Layer::EternalDead, "#File of Eternal Dead Field for Zentorix"},
    {Layer::OtherReality, "#File of Other Reality Field for Zentorix"},
};

// Each file replaces its whole layer (margins too) and its own settings, and an
// Other Reality file also rule set 1 (one of 150 characters, on two lines).
TEST_F(LayerFiles, EachLibraryFileRoundTripsItsLayerSettingsAndRule) {
    SetFieldSize(a, 50, 30);
    std::tie(sa.EternalLifeOn, sa.EternalLifePeriod, sa.EternalLifeIntensity, sa.EternalDeadOn,
             sa.EternalDeadPeriod, sa.EternalDeadIntensity, sa.OtherRealityOn, sa.Synchronization,
             sa.SpeedOtherReality) = std::tuple(false, 12, 4, true, 13, 5, true, true, 7);
    std::string rule = "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI4,RB100,";
    for (int sum = 10; sum < 30; ++sum)
        rule += "RB" + std::to_string(sum) + ",";
    ParseRuleString(a, rule, kFamilyZentorix, 1);
    ASSERT_EQ(RuleToString(a, 0, 1).size(), 150u);
    const World fresh;

    for (int i = 0; i < 3; ++i) {
        const auto [layer, firstLine] = kLayers[i];
        SCOPED_TRACE(firstLine);
        Draw(a.LayerField(layer), 0, 0, {"*..*", "....", ".**."});
        a.LayerField(layer).at(50, 30) = 3;
        const auto path = SaveLayerFile(a, sa, folder, layer, "hills");
        EXPECT_EQ(path.parent_path(), folder.Field());
        EXPECT_EQ(FileLines(path).at(0), firstLine);

        World b;
        Settings sb;
        SetFieldSize(b, 50, 30);
        Put(b.LayerField(layer), "-2,-2 20,20");  // the first a margin cell the file does not hold
        b.MainField.at(1, 1) = 4;
        ASSERT_TRUE(LoadLayerFile(b, sb, folder, layer, "hills"));
        std::vector<int> expected = LandscapeKeys(Settings{});
        std::copy_n(LandscapeKeys(sa).begin() + 3 * i, 3, expected.begin() + 3 * i);
        EXPECT_EQ(LandscapeKeys(sb), expected);
        EXPECT_EQ(std::pair(Staged(b.LayerField(layer)), Staged(b.MainField)),
                  std::pair(States{{0, 0, 1}, {1, 2, 1}, {2, 2, 1}, {3, 0, 1}, {50, 30, 3}},
                            States{{1, 1, 4}}));
        EXPECT_EQ(RuleToString(b, 0, 1),
                  RuleToString(layer == Layer::OtherReality ? a : fresh, 0, 1));
    }

    // The reader also knows the feedback switch that the writer leaves out.
    test::WriteBytes(folder.Field() / "fb.rfld", "#FeedBack             1\r\n#LR A\r\n");
    ASSERT_TRUE(LoadLayerFile(b, sb, folder, Layer::OtherReality, "fb"));
    EXPECT_EQ(std::tuple(sb.FeedBack, b.OtherRealityField.at(0, 0)), std::tuple(true, 1));
}

// A missing file changes nothing; without the library folder a save throws and
// the lists are empty. (Default names and the sorted lists are the landscape
// page's test.)
TEST_F(LayerFiles, MissingFilesAndFolderChangeNothing) {
    b.EternalDeadField.at(5, 5) = 1;
    EXPECT_FALSE(LoadLayerFile(b, sb, folder, Layer::EternalDead, "none"));
    EXPECT_EQ(Staged(b.EternalDeadField), (States{{5, 5, 1}}));

    std::filesystem::remove_all(folder.Field());
    EXPECT_THROW(SaveLayerFile(b, sb, folder, Layer::EternalDead, "x"), FileError);
    EXPECT_TRUE(ListLayerFiles(folder, Layer::EternalDead).empty());
}

TEST_F(LayerFiles, CopyLayerCoversTheFieldAndItsMargins) {
    SetFieldSize(a, 40, 30);
    // The cell at column 42 lies beyond the extent: not copied.
    Put(a.MainField, "-3,-3=2 41,31=3 42,10=4 10,10");
    a.OtherRealityField.at(11, 11) = 1;
    sa.CopyFromComboBox = 0;
    sa.CopyToComboBox = 3;
    CopyFieldButtonClick(a, sa);
    const States copied{{-3, -3, 2}, {10, 10, 1}, {41, 31, 3}};
    EXPECT_EQ(Staged(a.OtherRealityField), copied);
    // A layer copied onto itself stays as it was.
    CopyLayer(a, Layer::EternalDead, Layer::EternalDead);
    CopyLayer(a, Layer::OtherReality, Layer::OtherReality);
    EXPECT_EQ(Staged(a.OtherRealityField), copied);
}

}  // namespace
}  // namespace zentorix
