#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <limits>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/life20_file.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

using test::Cells;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Little-endian 32-bit words, as the format stores its numbers.
std::string Words(std::initializer_list<std::int32_t> values) {
    std::string out;
    for (std::int32_t v : values)
        for (int shift = 0; shift < 32; shift += 8)
            out += static_cast<char>((static_cast<std::uint32_t>(v) >> shift) & 0xFF);
    return out;
}

// A Life 2.0 file: the header, then the states of columns -3..w' by rows -3..h',
// where w' and h' are the stated sizes grown by 2 below a width of 150.
struct Life20 {
    std::int32_t width = 10, height = 10;
    std::int32_t birth = 3, survivalMax = 3, survivalMin = 2;
    std::array<std::int32_t, 9> flags{1, 1, 1, 1, 0, 1, 1, 1, 1};
    std::int32_t showBirth = 1;
    std::function<std::int32_t(int, int)> cell = [](int, int) { return 0; };

    std::string Bytes() const {
        std::string out = Words({width, height, birth, survivalMax, survivalMin});
        for (std::int32_t f : flags)
            out += Words({f});
        out += Words({showBirth, 0});
        const int grow = width < 150 ? 2 : 0;
        for (int x = -3; x <= width + grow; ++x)
            for (int y = -3; y <= height + grow; ++y)
                out += Words({cell(x, y)});
        return out;
    }
};

class Life20File : public ::testing::Test {
  protected:
    void Read(const std::string& bytes) {
        ReadLife20File(world, settings, folder.Write("pattern.lif", bytes), {});
    }
    Cells MainCells() const { return test::AllLive(world.MainField); }

    test::TempFolder folder;
    World world;
    Settings settings;
};

TEST_F(Life20File, FrameGrowthRuleSurvivalRangeAndBirthCellsSwitch) {
    // A 100 by 82 field (the size the open dispatcher recognises) grows by 2; on
    // a 400 by 400 field the fitting then makes the width w + 99.
    world.SetFieldWidth(400);
    world.SetFieldHeight(400);
    settings.LoadRulesSelector = 1;
    Read(Life20{
        .width = 100, .height = 82, .cell = [](int x, int y) {
            return (x == 5 && y == 7) ? 3 : (x == -3 && y == -3) ? 9 : 0;
        }}.Bytes());
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(102 + 99, 84 + 99));
    EXPECT_EQ(world.StagingGrid.at(5, 7), 3);
    EXPECT_EQ(world.StagingGrid.at(-3, -3), 9);
    EXPECT_EQ(MainCells().size(), 1u);
    EXPECT_TRUE(settings.Colours.ShowBirthCells);
    EXPECT_EQ(world.Description, std::vector<std::string>{"Life 2.0"});
    World expected;
    ParseRuleString(expected, "#R RB3,RS2,RS3,NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0",
                    kFamilyZentorix, 1);
    EXPECT_EQ(world.Rules[1], expected.Rules[1]);

    // An empty survival range, odd flags and a switch other than 1.
    settings.LoadRulesSelector = 0;
    Life20 file{
        .survivalMax = 3, .survivalMin = 4, .flags = {7, 1, 1, 1, 1, 1, 1, 1, -1}, .showBirth = 2};
    Read(file.Bytes());
    EXPECT_TRUE(world.Rules[0].SurvivalList.empty());
    EXPECT_EQ(world.Rules[0].Weight(-1, -1), 0);
    EXPECT_EQ(world.Rules[0].Weight(0, 0), 1);
    EXPECT_EQ(world.Rules[0].Weight(1, 1), 0);
    EXPECT_FALSE(settings.Colours.ShowBirthCells);

    // A range of four billion sums yields a full list, not four billion tokens.
    file.survivalMin = kMin;
    file.survivalMax = kMax;
    Read(file.Bytes());
    EXPECT_EQ(world.Rules[0].SurvivalCount(), kMaxListEntries);
    EXPECT_EQ(world.Rules[0].SurvivalList.front(), kMin);
}

TEST_F(Life20File, PatternTallerThanTheFieldIsNotSheared) {
    world.SetFieldWidth(60);
    world.SetFieldHeight(40);
    settings.ClearForLoad = false;
    // 202 rows and more, against a field of 40.
    const std::string bytes = Life20{
        .width = 20, .height = 200, .cell = [](int x, int y) {
            return (x >= 0 && x == y) ? 1 : (x == 4 && y == 190) ? 5 : 0;
        }}.Bytes();
    Read(bytes);
    Cells diagonal;
    for (int x = 0; x <= 22; ++x) {
        ASSERT_EQ(world.StagingGrid.at(x, x), 1) << x;
        diagonal.emplace_back(21 + x, 1 + x);
    }
    EXPECT_EQ(world.StagingGrid.at(4, 190), 5);
    EXPECT_EQ(test::AllLive(world.StagingGrid).size(), 24u);
    // Cut only when placed: the field keeps its size, rows 0..38 are copied to
    // column offset 61/2 - 22/2 + 2 = 21, row offset 41/2 - 38/2 = 1.
    EXPECT_EQ(world.FieldHeight(), 40);
    EXPECT_EQ(MainCells(), diagonal);

    // With fitting the field grows to the whole pattern.
    World fitted;
    settings.ClearForLoad = true;
    ReadLife20File(fitted, settings, folder.Write("tall.lif", bytes), {});
    EXPECT_EQ(fitted.FieldHeight(), 202 + 20 - 1);
    EXPECT_EQ(test::AllLive(fitted.MainField).size(), 24u);
}

TEST_F(Life20File, TruncatedFilesAndLyingSizesPlaceNothingAndSetNoRule) {
    settings.ClearForLoad = false;
    world.MainField.at(3, 3) = 1;
    world.StagingGrid.at(50, 50) = 4;
    const RuleSet before = world.Rules[0];
    const std::string whole = Life20{.cell = [](int, int) { return 1; }}.Bytes();

    Read(whole.substr(0, 10 * 4));
    EXPECT_FALSE(settings.Colours.ShowBirthCells);
    Read(whole.substr(0, 15 * 4));  // the birth-cells switch was read before the end
    EXPECT_TRUE(settings.Colours.ShowBirthCells);
    Read(whole.substr(0, whole.size() - 1));
    Read("");
    EXPECT_EQ(MainCells(), (Cells{{3, 3}}));
    EXPECT_EQ(world.Rules[0], before);
    EXPECT_EQ(world.StagingGrid.at(50, 50), 4);
    EXPECT_EQ(world.StagingGrid.at(0, 0), 0);
    EXPECT_EQ(world.Description, std::vector<std::string>{"Life 2.0"});

    // Stated sizes that cannot be true neither hang nor allocate.
    const std::pair<std::int32_t, std::int32_t> lies[] = {
        {2000000000, 2000000000}, {kMax, kMax}, {kMin, kMin}, {kMax, -100}, {kMin, kMax}, {1, kMax},
        {148, kMax - 1}};
    for (auto [w, h] : lies) {
        std::string bytes = Life20{.width = 0, .height = 0}.Bytes();
        bytes.replace(0, 8, Words({w, h}));
        Read(bytes);
        EXPECT_EQ(MainCells(), (Cells{{3, 3}})) << w << " x " << h;
    }

    // Bytes that do not make up a whole record after the data are no harm.
    Read(whole + "\x01\x02\x03");
    EXPECT_EQ(MainCells().size(), 1u + 13u * 13u);

    // A missing file or a folder changes nothing at all.
    World untouched;
    ReadLife20File(untouched, settings, folder.Path() / "absent.lif", {});
    ReadLife20File(untouched, settings, folder.Path(), {});
    EXPECT_EQ(untouched.CurrentFileName, "new.zlf");
    EXPECT_TRUE(untouched.Description.empty());
}

}  // namespace
}  // namespace zentorix
