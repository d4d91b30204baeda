// RLE text of any content must load within the grids, without hanging, and what
// was loaded must write out as RLE.
#include "formats/rle_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.rle", data, size);
    try {
        zentorix::ReadRleFile(world, settings, file, {800, 600});
        if (zentorix::fuzz::SmallField(world))
            zentorix::WriteRleFile(world, zentorix::fuzz::WorkFolder() / "again.rle");
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
