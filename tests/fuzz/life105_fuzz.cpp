// Life 1.05 pictures of any content must load within the grids, without hanging,
// and what was loaded must write out as Life 1.05.
#include "formats/life_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern(
        "input.lif", data, size, [](auto&&... a) { ReadLife105File(a...); },
        [](World& w, Settings&) { WriteLife105File(w, fuzz::WorkFolder() / "again.lif"); });
    return 0;
}
