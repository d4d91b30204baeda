#include "formats/bitmap_file.h"

#include <algorithm>

#include "engine/field_regions.h"
#include "formats/pattern_text.h"
#include "formats/text_file.h"

namespace zentorix {

namespace {

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
// Cells of the staging grid exist up to this index: larger bitmaps are cut there,
// and the placement cuts them further to the field.
constexpr int kStagingLimit = 999;

std::uint32_t U32(const std::string& b, std::int64_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::string& b, std::int64_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Brightness of a palette entry (blue, green, red, reserved) for comparing two.
int Brightness(const std::string& b, std::int64_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return 114 * p[0] + 587 * p[1] + 299 * p[2];
}

bool IsBitCount(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

}  // namespace

BmpImage BmpImage::Decode(std::string bytes, const std::string& name) {
    const std::int64_t size = static_cast<std::int64_t>(bytes.size());
    auto invalid = [&name](const char* why) {
        return BitmapError("'" + name + "' is not a valid bitmap: " + why);
    };
    if (size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        throw invalid("no bitmap header");
    const std::int64_t pixelOffset = U32(bytes, 10);
    const std::int64_t infoSize = U32(bytes, 14);
    if (infoSize < kInfoHeaderSize || kFileHeaderSize + infoSize > size)
        throw invalid("unknown header");
    const auto width = static_cast<std::int32_t>(U32(bytes, 18));
    const auto height = static_cast<std::int32_t>(U32(bytes, 22));
    const int planes = U16(bytes, 26);
    const int bitCount = U16(bytes, 28);
    const std::uint32_t compression = U32(bytes, 30);
    if (width <= 0 || height == 0 || height == INT32_MIN)
        throw invalid("no pixels");
    if (planes != 1 || !IsBitCount(bitCount))
        throw invalid("unknown pixel format");
    if (bitCount != 1)
        throw BitmapError("'" + name + "' has " + std::to_string(bitCount) +
                          " bits per pixel; only one-bit bitmaps can be opened as patterns");
    if (compression != 0)
        throw invalid("compressed one-bit pixels");

    BmpImage image;
    image.width_ = width;
    image.height_ = height < 0 ? -height : height;
    image.topDown_ = height < 0;
    // Rows are padded to whole 32-bit words; every row must be in the file.
    image.rowStride_ = (std::int64_t{width} + 31) / 32 * 4;
    image.pixelOffset_ = pixelOffset;
    if (pixelOffset < kFileHeaderSize + kInfoHeaderSize || pixelOffset > size ||
        image.rowStride_ > (size - pixelOffset) / image.height_)
        throw invalid("the pixels are not all there");

    // The palette follows the headers; when the file holds its two entries, the
    // darker colour is the one that becomes live cells.
    const std::int64_t palette = kFileHeaderSize + infoSize;
    if (palette + 8 <= pixelOffset && Brightness(bytes, palette + 4) < Brightness(bytes, palette))
        image.darkBit_ = 1;
    image.bytes_ = std::move(bytes);
    return image;
}

bool BmpImage::IsDark(int x, int r) const {
    if (x < 0 || x >= width_ || r < 0 || r >= height_)
        return false;
    const std::int64_t row = topDown_ ? r : height_ - 1 - r;
    const std::int64_t at = pixelOffset_ + row * rowStride_ + x / 8;
    const int bit =
        (static_cast<unsigned char>(bytes_[static_cast<std::size_t>(at)]) >> (7 - x % 8)) & 1;
    return bit == darkBit_;
}

void ReadBitmapFile(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel) {
    CheckPatternFileSize(file);
    auto bytes = ReadFileBytes(file);
    if (!bytes)
        return;
    const BmpImage image = BmpImage::Decode(std::move(*bytes), file.filename().string());

    world.Description.emplace_back("Bitmap File");
    if (settings.StopForLoad)
        world.Counters.Generation = 1;
    if (settings.ClearForLoad) {
        EraseRegion(world, settings, WholeFieldRect(world), false);
        world.StagingGrid.FillRect(-3, -3, world.ExtentX(), world.ExtentY(), 0);
    }

    // Pixel c lands in column c + 1, pixel row r in row r.
    const int w = std::min(image.Width(), kStagingLimit);
    const int h = std::min(image.Height(), kStagingLimit + 1);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            world.StagingGrid.at(c + 1, r) = image.IsDark(c, r) ? 1 : 0;
    PlacePattern(world, settings, w, h, true, panel);
}

}  // namespace zentorix
