// Any file opened as a bitmap must either be read as a one-bit pattern or be
// refused with BitmapError, without reading outside its bytes or a grid.
#include "formats/bitmap_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern<BitmapError>("input.bmp", data, size,
                                   [](auto&&... a) { ReadBitmapFile(a...); });
    return 0;
}
