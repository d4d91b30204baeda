// Any Life 2.0 file must be read and placed without crashing, hanging or
// allocating by the sizes it states; only a rule it cannot hold may raise the
// invalid-integer error. The first byte picks the loading options and field size.
#include <cstddef>
#include <cstdint>

#include "formats/format_error.h"
#include "formats/life20_file.h"
#include "model/settings.h"
#include "model/world.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    static ScratchFile scratch(".lif");
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
        zentorix::ReadLife20File(world, settings, file, {800, 600});
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
