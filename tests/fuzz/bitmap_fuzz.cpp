// Any file opened as a bitmap must either be read as a one-bit pattern or be
// refused with BitmapError, without reading outside its bytes or a grid.
#include "formats/bitmap_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    settings = zentorix::Settings{};
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.bmp", data, size);
    try {
        zentorix::ReadBitmapFile(world, settings, file, {800, 600});
    } catch (const zentorix::BitmapError&) {
    }
    return 0;
}
