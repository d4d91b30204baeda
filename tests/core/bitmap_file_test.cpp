#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "formats/bitmap_file.h"

namespace zentorix {
namespace {

using test::Cells;

// Little-endian, as the format stores its numbers.
void Put(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

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
    std::function<bool(int, int)> dark = [](int, int) { return false; };

    std::string Bytes() const {
        const bool oneBit = bitCount == 1;
        const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bitCount + 31) / 32 * 4;
        const std::uint32_t offset = oneBit ? 62 : 54, size = stride * height;
        const auto h = static_cast<std::uint32_t>(topDown ? -height : height);
        const auto bits = static_cast<std::uint32_t>(bitCount);
        // The file header after "BM", then the info header; the plane count 1 and the
        // bit count share a word.
        std::string out = "BM";
        for (std::uint32_t v : {offset + size, 0u, offset, 40u, static_cast<std::uint32_t>(width),
                                h, 1u | bits << 16, 0u, size, 2835u, 2835u, oneBit ? 2u : 0u, 0u})
            Put(out, v);
        if (oneBit)
            for (std::uint32_t colour : palette)
                Put(out, ((colour & 0xFF) << 16) | (colour & 0xFF00) | (colour >> 16 & 0xFF));
        const int darkBit = (palette[1] & 0xFF) < (palette[0] & 0xFF) ? 1 : 0;
        for (int stored = 0; stored < height; ++stored) {
            const int r = topDown ? stored : height - 1 - stored;
            std::string row(stride, static_cast<char>(darkBit ? 0xFF : 0x00));
            for (int x = 0; oneBit && x < width; ++x) {
                const int bit = dark(x, r) ? darkBit : 1 - darkBit;
                auto& byte = reinterpret_cast<unsigned char&>(row[x / 8]);
                byte =
                    static_cast<unsigned char>((byte & ~(0x80 >> (x % 8))) | (bit << (7 - x % 8)));
            }
            out += row;
        }
        return out;
    }
};

class BitmapFile : public ::testing::Test {
  protected:
    void Read(const std::string& bytes) {
        ReadBitmapFile(world, settings, folder.Write("picture.bmp", bytes), {});
    }
    Cells StagingCells() const { return test::AllLive(world.StagingGrid); }
    Cells MainCells() const { return test::AllLive(world.MainField); }

    test::TempFolder folder;
    World world;
    Settings settings;
};

TEST_F(BitmapFile, DiagonalLandsOneColumnRightAndFittingGrowsTheField) {
    world.SetFieldWidth(400);
    world.SetFieldHeight(400);
    world.Description = {"kept"};
    Read(Bmp{.dark = [](int x, int r) { return x == r; }}.Bytes());
    Cells diagonal;
    for (int i = 0; i < 16; ++i)
        diagonal.emplace_back(i + 1, i);
    EXPECT_EQ(StagingCells(), diagonal);
    // Fitting on a 400 by 400 field makes the extent w + 100.
    EXPECT_EQ(std::pair(world.FieldWidth(), world.FieldHeight()), std::pair(16 + 99, 16 + 99));
    EXPECT_EQ(MainCells().size(), 16u);
    EXPECT_EQ(world.Description, (std::vector<std::string>{"kept", "Bitmap File"}));
    EXPECT_EQ(world.CurrentFileName, "new.zlf");

    // A bitmap wider than the field grows it.
    Read(Bmp{
        .width = 1200, .height = 3, .dark = [](int x, int r) {
            return x == 900 && r == 1;
        }}.Bytes());
    EXPECT_EQ(world.FieldWidth(), 997);
    EXPECT_EQ(MainCells().size(), 1u);
}

TEST_F(BitmapFile, RowOrderPaddingPartialLastByteAndPalette) {
    const auto three = [](int x, int r) {
        return (x == 11 && r == 0) || (x == 0 && r == 4) || (x == 5 && r == 2);
    };
    const auto one = [](int x, int r) { return x == 3 && r == 2; };
    const std::pair<Bmp, Cells> cases[] = {
        {Bmp{.width = 12, .height = 5, .dark = three}, Cells{{1, 4}, {6, 2}, {12, 0}}},
        {Bmp{.width = 12, .height = 5, .topDown = true, .dark = three},
         Cells{{1, 4}, {6, 2}, {12, 0}}},
        // The darker palette colour becomes cells.
        {Bmp{.palette = {kWhite, kBlack}, .dark = one}, Cells{{4, 2}}},
        // Two equal colours: a clear bit is a cell, as in the usual palette (the
        // picture holds one clear bit among 255 set ones).
        {Bmp{.palette = {kBlack, kBlack}, .dark = one}, Cells{{4, 2}}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        Read(cases[i].first.Bytes());
        EXPECT_EQ(StagingCells(), cases[i].second) << "row " << i;
    }
}

TEST_F(BitmapFile, OtherPixelFormatsAndLyingHeadersAreRefusedWithoutHarm) {
    world.MainField.at(7, 7) = 1;
    world.Description = {"kept"};
    try {
        Read(Bmp{.bitCount = 24}.Bytes());
        FAIL() << "no error";
    } catch (const BitmapError& e) {
        EXPECT_STREQ(e.what(),
                     "'picture.bmp' has 24 bits per pixel; only one-bit bitmaps can be opened as "
                     "patterns");
    }

    const std::string good = Bmp{.dark = [](int x, int r) { return x == r; }}.Bytes();
    constexpr std::uint32_t kHuge = 0x7FFFFFFF;
    // Data offset, header size, width, height; planes, bit count, compression.
    const std::pair<std::size_t, std::uint32_t> lies[] = {
        {10, 1000000000}, {10, 0xFFFFFFFF}, {10, 20},      {14, 1000000000}, {14, 12},
        {18, 0xFFFFFFF0}, {18, 0},          {18, kHuge},   {22, 0},          {22, 0x80000000},
        {22, kHuge},      {22, 0x88CA6C00}, {26, 0x10000}, {28, 3},          {30, 1}};
    for (const auto& [at, value] : lies) {
        std::string bytes = good, four;
        Put(four, value);
        EXPECT_THROW(Read(bytes.replace(at, 4, four)), BitmapError) << at << ": " << value;
    }
    for (const std::string& cut :
         {good.substr(0, 30), good.substr(0, good.size() - 1), "BX" + good.substr(2)})
        EXPECT_THROW(Read(cut), BitmapError);
    EXPECT_EQ(MainCells(), (Cells{{7, 7}}));
    EXPECT_EQ(world.Description, std::vector<std::string>{"kept"});

    ReadBitmapFile(world, settings, folder.Path() / "absent.bmp", {});
    EXPECT_EQ(MainCells(), (Cells{{7, 7}}));
}

}  // namespace
}  // namespace zentorix
