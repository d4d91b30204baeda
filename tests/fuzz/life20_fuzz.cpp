// Any Life 2.0 file must be read and placed without crashing, hanging or
// allocating by the sizes it states; only a rule it cannot hold may raise the
// invalid-integer error.
#include "formats/life20_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    // Fresh settings are copied: building the start-up colours costs more than an input.
    static const zentorix::Settings fresh;
    settings = fresh;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput("input.l", data, size);
    try {
        zentorix::ReadLife20File(world, settings, file, {800, 600});
    } catch (const zentorix::FormatError&) {
    }
    return 0;
}
