#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// A file that is not a bitmap the pattern reader can use: not a BMP, a BMP
// whose headers do not fit its bytes, or a BMP of more than one bit per pixel.
// Nothing has been changed when it is raised.
class BitmapError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A one-bit Windows bitmap (BITMAPFILEHEADER + BITMAPINFOHEADER or a later
// version of it), rows uncompressed, stored bottom-up or top-down. It keeps the
// file's bytes and reads pixels from them, so a size costs nothing but the file.
class BmpImage {
  public:
    // Checks the headers against the bytes; throws BitmapError naming `name`
    // when they do not describe a bitmap these bytes hold, or when the bitmap
    // has more than one bit per pixel.
    static BmpImage Decode(std::string bytes, const std::string& name = "bitmap");

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Whether the pixel at column x of row r (row 0 at the top) shows the darker
    // of the two palette colours; false outside the image. A palette of two
    // equal colours, or none in the file, counts bit 0 as the dark one.
    bool IsDark(int x, int r) const;

  private:
    std::string bytes_;
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    std::int64_t pixelOffset_ = 0;
    std::int64_t rowStride_ = 0;
    int darkBit_ = 0;
};

// Reads a one-bit bitmap as a pattern: dark pixels become cells of state 1,
// light pixels empty cells, pixel (c, r) at staging column c + 1, row r; the
// pattern is placed centred with fitting. "Bitmap File" is added to the
// description; the current file name is not changed. A missing file changes
// nothing; anything but a one-bit bitmap raises BitmapError before anything
// is changed.
void ReadBitmapFile(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel);

}  // namespace zentorix
