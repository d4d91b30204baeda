// Any file content through the configuration-and-field reader: it either applies
// or stops with the invalid-integer error, never crashes or hangs; and whatever
// state it leaves, the writer's file of that state reads back without an error.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include "engine/format_error.h"
#include "formats/native_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    // Fresh settings are copied: building the start-up colours costs more than an input.
    static const zentorix::Settings fresh;
    settings = fresh;
    const auto input = zentorix::fuzz::WriteInput("input.zlf", data, size);
    try {
        zentorix::ReadNativeFile(world, settings, input);
    } catch (const zentorix::FormatError&) {
        return 0;
    }
    if (!zentorix::fuzz::SmallField(world))
        return 0;
    const auto written = zentorix::WriteNativeFile(
        world, settings, zentorix::fuzz::WorkFolder() / "again", zentorix::NativeKind::Qsave);
    zentorix::fuzz::ReadOwn([&] { zentorix::ReadNativeFile(world, settings, written); });
    return 0;
}
