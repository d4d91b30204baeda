// Field data lines of any content must decode within the grid, without hanging.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/field_section.h"
#include "formats/text_file.h"
#include "model/world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    if (size == 0)
        return 0;
    world.SetFieldWidth(25 + data[0] % 64);
    world.SetFieldHeight(25 + data[0] % 48);
    const auto lines = zentorix::SplitLines(
        zentorix::DecodeText(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1)));
    zentorix::ReadFieldSection(world, lines, "#L ");
    zentorix::TextBuilder out;
    zentorix::WriteFieldSection(out, world, zentorix::Layer::Main, true);
    return 0;
}
