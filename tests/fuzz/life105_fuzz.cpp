// Life 1.05 pictures of any content must load within the grids, without hanging.
#include "formats/life_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("zentorix-fuzz-life105", data, size);
    try {
        zentorix::ReadLife105File(world, settings, file, {800, 600});
        zentorix::fuzz::RemoveOutput(zentorix::WriteLife105File(world, file.string() + ".out"));
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
