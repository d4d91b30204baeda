// Any MCell file must be read, placed and written again without crashing,
// hanging or touching memory outside a grid; a bad number may only raise the
// invalid-integer error.
#include "formats/mcell_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern(
        "input.mcl", data, size, [](auto&&... a) { ReadMCellFile(a...); },
        [](World& w, Settings& s) {
            // What was read must be written and read again.
            ReadMCellFile(w, s, WriteMCellFile(w, s, fuzz::WorkFolder() / "again.mcl"), {});
        });
    return 0;
}
