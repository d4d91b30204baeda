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

// A decoded Windows bitmap (BITMAPFILEHEADER + BITMAPINFOHEADER or a later
// version of it). Only one-bit images give their pixels; for the others the
// header facts are all there is.
class BmpImage {
  public:
    // Checks the headers against the bytes; throws BitmapError naming `name`
    // when they do not describe a bitmap these bytes can hold.
    static BmpImage Decode(std::string bytes, const std::string& name = "bitmap");

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }

    // One-bit images: whether the pixel at column x of row r (row 0 at the top)
    // shows the darker of the two palette colours. A palette of two equal
    // colours, or none, counts bit 0 as the dark one.
    bool IsDark(int x, int r) const;

  private:
    std::string bytes_;
    int width_ = 0;
    int height_ = 0;
    int bitCount_ = 0;
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
