// Life 1.06 cell lists of any content must load within the grids, without hanging.
#include "formats/life_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.lif", data, size);
    try {
        zentorix::ReadLife106File(world, settings, file, {800, 600});
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
