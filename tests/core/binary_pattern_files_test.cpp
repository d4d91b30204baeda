// Patterns in binary files: one-bit bitmaps and Life 2.0 files.
#include <functional>
#include <limits>

#include "core/format_test_support.h"
#include "formats/bitmap_file.h"
#include "formats/life20_file.h"

namespace zentorix {
namespace {

using namespace test;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;

// A BMP file with a BITMAPINFOHEADER. One-bit images take their two palette
// colours from `palette`; every bit and byte past the image's width (the rest
// of the last byte, the padding to 4 bytes) is filled with the dark value, so a
// reader that reads them shows cells that are not there.
struct Bmp {
    int width = 16, height = 16;
    bool topDown = false;
    int bitCount = 1;
    std::array<std::uint32_t, 2> palette{kBlack, kWhite};
    std::function<bool(int, int)> dark = [](int x, int r) { return x == r; };

    std::string Bytes() const {
        const bool oneBit = bitCount == 1;
        const std::int64_t stride = (width * bitCount + 31) / 32 * 4, size = stride * height;
        const std::int64_t offset = oneBit ? 62 : 54;
        // The plane count 1 and the bit count share a word.
        std::string out =
            "BM" + Words({offset + size, 0, offset, 40, width, topDown ? -height : height,
                          1 | bitCount << 16, 0, size, 2835, 2835, oneBit ? 2 : 0, 0});
        for (std::uint32_t colour : palette)
            out += oneBit ? Words({(colour & 0xFF) << 16 | (colour & 0xFF00) | colour >> 16}) : "";
        const int darkBit = (palette[1] & 0xFF) < (palette[0] & 0xFF) ? 1 : 0;
        for (int stored = 0; stored < height; ++stored) {
            const int r = topDown ? stored : height - 1 - stored;
            std::string row(stride, static_cast<char>(darkBit ? 0xFF : 0x00));
            for (int x = 0; oneBit && x < width; ++x) {
                auto& byte = reinterpret_cast<unsigned char&>(row[x / 8]);
                byte = static_cast<unsigned char>(
                    (byte & ~(0x80 >> (x % 8))) |
                    ((dark(x, r) ? darkBit : 1 - darkBit) << (7 - x % 8)));
            }
            out += row;
        }
        return out;
    }
};

struct BitmapFile : FileTest {
    void Read(const std::string& bytes) {
        ReadBitmapFile(world, settings, dir.Write("picture.bmp", bytes), {});
    }
};

TEST_F(BitmapFile, DarkPixelsLandOneColumnRightInEveryRowOrderAndPalette) {
    SetFieldSize(world, 400, 400);
    world.Description = {"kept"};
    settings.StopForLoad = true;
    world.Counters.Generation = 50;
    Read(Bmp{}.Bytes());
    Cells diagonal;
    for (int i = 0; i < 16; ++i)
        diagonal.emplace_back(i + 1, i);
    EXPECT_EQ(AllLive(world.StagingGrid), diagonal);
    // Fitting on a 400 by 400 field makes the extent w + 100.
    EXPECT_EQ(std::tuple(world.FieldWidth(), world.FieldHeight(), AllLive(world.MainField).size(),
                         world.CurrentFileName, world.Counters.Generation),
              std::tuple(16 + 99, 16 + 99, 16ul, "new.zlf", 1));
    EXPECT_EQ(world.Description, (Lines{"kept", "Bitmap File"}));

    const auto three = [](int x, int r) {
        return (x == 11 && r == 0) || (x == 0 && r == 4) || (x == 5 && r == 2);
    };
    const auto one = [](int x, int r) { return x == 3 && r == 2; };
    const auto far = [](int x, int r) { return x == 900 && r == 1; };
    const std::pair<Bmp, const char*> cases[] = {
        {Bmp{.width = 12, .height = 5, .dark = three}, "1,4 6,2 12,0"},
        {Bmp{.width = 12, .height = 5, .topDown = true, .dark = three}, "1,4 6,2 12,0"},
        // The darker palette colour becomes cells.
        {Bmp{.palette = {kWhite, kBlack}, .dark = one}, "4,2"},
        // Two equal colours: a clear bit is a cell, as in the usual palette (the
        // picture holds one clear bit among 255 set ones).
        {Bmp{.palette = {kBlack, kBlack}, .dark = one}, "4,2"},
        // One pixel wide.
        {Bmp{.width = 1, .height = 3, .dark = [](int, int r) { return r == 1; }}, "1,1"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Read(cases[i].first.Bytes());
        EXPECT_EQ(CellText(world.StagingGrid), cases[i].second) << "case " << i;
    }

    // A bitmap wider than the field grows it.
    Read(Bmp{.width = 1200, .height = 3, .dark = far}.Bytes());
    EXPECT_EQ(std::pair(world.FieldWidth(), AllLive(world.MainField).size()), std::pair(997, 1ul));
}

TEST_F(BitmapFile, OtherPixelFormatsAndLyingHeadersAreRefusedWithoutHarm) {
    world.MainField.at(7, 7) = 1;
    world.Description = {"kept"};
    for (const int bits : {2, 4, 8, 16, 24, 32})
        EXPECT_EQ(ErrorOf([&] { Read(Bmp{.bitCount = bits}.Bytes()); }),
                  "'picture.bmp' has " + std::to_string(bits) +
                      " bits per pixel; only one-bit bitmaps can be opened as patterns");
    const std::string good = Bmp{}.Bytes();
    constexpr std::uint32_t kHuge = 0x7FFFFFFF;
    // Data offset, header size, width, height; planes, bit count, compression.
    const std::pair<std::size_t, std::uint32_t> lies[] = {
        {10, 1000000000}, {10, 0xFFFFFFFF}, {10, 20},      {14, 1000000000}, {14, 12},
        {18, 0xFFFFFFF0}, {18, 0},          {18, kHuge},   {22, 0},          {22, 0x80000000},
        {22, kHuge},      {22, 0x88CA6C00}, {26, 0x10000}, {28, 3},          {30, 1}};
    for (const auto& [at, value] : lies) {
        std::string bytes = good;
        EXPECT_THROW(Read(bytes.replace(at, 4, Words({value}))), BitmapError)
            << at << ": " << value;
    }
    for (const std::string& cut :
         {good.substr(0, 30), good.substr(0, good.size() - 1), "BX" + good.substr(2)})
        EXPECT_THROW(Read(cut), BitmapError);
    ReadBitmapFile(world, settings, dir / "absent.bmp", {});
    EXPECT_EQ(AllLive(world.MainField), (Cells{{7, 7}}));
    EXPECT_EQ(world.Description, Lines{"kept"});
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

struct Life20File : FileTest {
    void Read(const std::string& bytes) {
        ReadLife20File(world, settings, dir.Write("pattern.lif", bytes), {});
    }
};

TEST_F(Life20File, FrameGrowthRuleSurvivalRangeAndBirthCellsSwitch) {
    // A 100 by 82 field (the size the open dispatcher recognises) grows by 2; on
    // a 400 by 400 field the fitting then makes the width w + 99.
    SetFieldSize(world, 400, 400);
    settings.LoadRulesSelector = 1;
    // 258 is 0x102: each byte of a record lands in its own place.
    const auto two = [](int x, int y) { return x == 5 && y == 7 ? 3 : x + y == -6 ? 258 : 0; };
    Read(Life20{.width = 100, .height = 82, .cell = two}.Bytes());
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(102 + 99, 84 + 99));
    EXPECT_EQ(CellText(world.StagingGrid), "-3,-3=258 5,7=3");
    EXPECT_EQ(std::pair(AllLive(world.MainField).size(), settings.Colours.ShowBirthCells),
              std::pair(1ul, true));
    EXPECT_EQ(world.Description, Lines{"Life 2.0"});
    World expected;
    ParseRuleString(expected, "#R RB3,RS2,RS3,NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0",
                    kFamilyZentorix, 1);
    EXPECT_EQ(world.Rules[1], expected.Rules[1]);

    // An empty survival range, odd flags and a switch other than 1.
    settings.LoadRulesSelector = 0;
    Life20 file{
        .survivalMax = 3, .survivalMin = 4, .flags = {7, 1, 1, 1, 1, 1, 1, 1, -1}, .showBirth = 2};
    Read(file.Bytes());
    const RuleSet& rules = world.Rules[0];
    EXPECT_TRUE(rules.SurvivalList.empty());
    EXPECT_EQ(std::tuple(rules.Weight(-1, -1), rules.Weight(0, 0), rules.Weight(1, 1),
                         settings.Colours.ShowBirthCells),
              std::tuple(0, 1, 0, false));

    // A range of four billion sums yields a full list, not four billion tokens.
    file.survivalMin = kMin;
    file.survivalMax = kMax;
    Read(file.Bytes());
    EXPECT_EQ(std::pair(rules.SurvivalCount(), rules.SurvivalList.front()),
              std::pair(kMaxListEntries, kMin));

    // Stated heights of -6 and -5 leave no row and the one row -3: a file of no
    // rows still brings its rule; the one row is read column by column.
    Read(Life20{.width = 3, .height = -6, .birth = 5}.Bytes());
    EXPECT_EQ(rules.BirthList, Sums{5});
    Read(Life20{.width = 1, .height = -5, .cell = [](int x, int) { return x + 4; }}.Bytes());
    EXPECT_EQ(CellText(world.StagingGrid), "-3,-3 -2,-3=2 -1,-3=3 0,-3=4 1,-3=5 2,-3=6 3,-3=7");
}

TEST_F(Life20File, PatternTallerThanTheFieldIsNotSheared) {
    SetFieldSize(world, 60, 40);
    settings.ClearForLoad = false;
    // 202 rows and more, against a field of 40.
    const auto cells = [](int x, int y) {
        return x >= 0 && x == y ? 1 : x == 4 && y == 190 ? 5 : 0;
    };
    const std::string bytes = Life20{.width = 20, .height = 200, .cell = cells}.Bytes();
    Read(bytes);
    Cells diagonal;
    States staged;
    for (int x = 0; x <= 22; ++x) {
        staged.push_back({x, x, 1});
        diagonal.emplace_back(21 + x, 1 + x);
    }
    staged.insert(staged.begin() + 5, {4, 190, 5});
    EXPECT_EQ(Staged(world.StagingGrid), staged);
    // Cut only when placed: the field keeps its size, rows 0..38 are copied to
    // column offset 61/2 - 22/2 + 2 = 21, row offset 41/2 - 38/2 = 1.
    EXPECT_EQ(std::pair(world.FieldHeight(), AllLive(world.MainField)), std::pair(40, diagonal));

    // With fitting the field grows to the whole pattern.
    World fitted;
    settings.ClearForLoad = true;
    ReadLife20File(fitted, settings, dir.Write("tall.lif", bytes), {});
    EXPECT_EQ(std::pair(fitted.FieldHeight(), AllLive(fitted.MainField).size()),
              std::pair(202 + 20 - 1, 24ul));
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
    // Stated sizes that cannot be true neither hang nor allocate.
    const std::pair<std::int32_t, std::int32_t> lies[] = {
        {2000000000, 2000000000}, {kMax, kMax}, {kMin, kMin}, {kMax, -100}, {kMin, kMax}, {1, kMax},
        {148, kMax - 1}};
    for (auto [w, h] : lies) {
        std::string bytes = Life20{.width = 0, .height = 0}.Bytes();
        Read(bytes.replace(0, 8, Words({w, h})));
        EXPECT_EQ(AllLive(world.MainField), (Cells{{3, 3}})) << w << " x " << h;
    }
    EXPECT_EQ(world.Rules[0], before);
    EXPECT_EQ(Staged(world.StagingGrid), (States{{50, 50, 4}}));
    EXPECT_EQ(world.Description, Lines{"Life 2.0"});

    // Bytes that do not make up a whole record after the data are no harm.
    Read(whole + "\x01\x02\x03");
    EXPECT_EQ(AllLive(world.MainField).size(), 1u + 13u * 13u);

    // A missing file or a folder changes nothing at all.
    World untouched;
    ReadLife20File(untouched, settings, dir / "absent.lif", {});
    ReadLife20File(untouched, settings, dir.Path(), {});
    EXPECT_EQ(std::pair(untouched.CurrentFileName, untouched.Description.empty()),
              std::pair(std::string("new.zlf"), true));
}

}  // namespace
}  // namespace zentorix
