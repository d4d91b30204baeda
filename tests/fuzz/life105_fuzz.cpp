// Life 1.05 pictures of any content must load within the grids, without hanging,
// and what was loaded must write out as Life 1.05.
#include "formats/life_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.lif", data, size);
    try {
        zentorix::ReadLife105File(world, settings, file, {800, 600});
        if (zentorix::fuzz::SmallField(world))
            zentorix::WriteLife105File(world, zentorix::fuzz::WorkFolder() / "again.lif");
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
