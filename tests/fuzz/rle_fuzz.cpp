// RLE text of any content must load within the grids, without hanging, and what
// was loaded must write out as RLE.
#include "formats/rle_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern(
        "input.rle", data, size, [](auto&&... a) { ReadRleFile(a...); },
        [](World& w, Settings&) { WriteRleFile(w, fuzz::WorkFolder() / "again.rle"); });
    return 0;
}
