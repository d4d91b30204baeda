// Any MCell file must be read, placed and written again without crashing,
// hanging or touching memory outside a grid; a bad number may only raise the
// invalid-integer error. The first byte picks the loading options and field size.
#include <cstddef>
#include <cstdint>

#include "formats/format_error.h"
#include "formats/mcell_file.h"
#include "model/settings.h"
#include "model/world.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    static ScratchFile scratch(".mcl");
    if (size == 0)
        return 0;
    const std::uint8_t options = data[0];
    settings = zentorix::Settings{};
    settings.ClearForLoad = (options & 1) != 0;
    settings.LoadFieldSelector = (options >> 1) & 3;
    settings.LoadRulesSelector = (options >> 3) % 3;
    world.SetFieldWidth(25 + (options >> 5) * 20);
    world.SetFieldHeight(25 + (options >> 5) * 15);
    const auto& file = scratch.Write(data + 1, size - 1);
    try {
        zentorix::ReadMCellFile(world, settings, file, {800, 600});
    } catch (const zentorix::FormatError&) {
    }
    if (options & 0x80) {
        zentorix::WriteMCellFile(world, settings, file);
        try {
            zentorix::ReadMCellFile(world, settings, file, {});
        } catch (const zentorix::FormatError&) {
        }
    }
    return 0;
}
