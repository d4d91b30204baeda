// Life 1.06 cell lists of any content must load within the grids, without hanging.
#include "formats/life_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern("input.lif", data, size, [](auto&&... a) { ReadLife106File(a...); });
    return 0;
}
