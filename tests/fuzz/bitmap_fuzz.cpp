// Any file opened as a bitmap must either be read as a one-bit pattern or be
// refused with BitmapError, without reading outside its bytes or a grid. The
// first byte picks the loading options and field size.
#include <cstddef>
#include <cstdint>

#include "formats/bitmap_file.h"
#include "model/settings.h"
#include "model/world.h"
#include "scratch_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    static ScratchFile scratch(".bmp");
    if (size == 0)
        return 0;
    const std::uint8_t options = data[0];
    settings = zentorix::Settings{};
    settings.ClearForLoad = (options & 1) != 0;
    settings.LoadFieldSelector = (options >> 1) & 3;
    world.SetFieldWidth(25 + (options >> 5) * 20);
    world.SetFieldHeight(25 + (options >> 5) * 15);
    const auto& file = scratch.Write(data + 1, size - 1);
    try {
        zentorix::ReadBitmapFile(world, settings, file, {800, 600});
    } catch (const zentorix::BitmapError&) {
    }
    return 0;
}
