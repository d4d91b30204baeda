// Any MCell file must be read, placed and written again without crashing,
// hanging or touching memory outside a grid; a bad number may only raise the
// invalid-integer error.
#include "formats/mcell_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    settings = zentorix::Settings{};
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.mcl", data, size);
    try {
        zentorix::ReadMCellFile(world, settings, file, {800, 600});
        // What was read must be written and read again.
        if (zentorix::fuzz::SmallField(world)) {
            const auto written = zentorix::WriteMCellFile(
                world, settings, zentorix::fuzz::WorkFolder() / "again.mcl");
            zentorix::ReadMCellFile(world, settings, written, {});
        }
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
