// Any file content through the configuration-and-field reader: it either applies
// or stops with the invalid-integer error, never crashes or hangs; and whatever
// state it leaves, the writer's file of that state reads back without an error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "engine/format_error.h"
#include "formats/native_file.h"
#include "formats/text_file.h"
#include "model/world.h"

namespace {

// Writing and reading a whole large field back is slow under the sanitizers and
// adds nothing a small field does not cover.
constexpr int kRoundTripLimit = 200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path() / "zentorix-native-file-fuzz";
        std::filesystem::create_directories(f);
        return f;
    }();
    zentorix::Settings settings;
    const auto input = folder / "input.zlf";
    zentorix::WriteFileAtomic(input, std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        zentorix::ReadNativeFile(world, settings, input);
    } catch (const zentorix::FormatError&) {
        return 0;
    }
    if (world.FieldWidth() > kRoundTripLimit || world.FieldHeight() > kRoundTripLimit)
        return 0;
    const auto written =
        zentorix::WriteNativeFile(world, settings, folder / "again", zentorix::NativeKind::Qsave);
    try {
        zentorix::ReadNativeFile(world, settings, written);
    } catch (const zentorix::FormatError&) {
        std::abort();  // the program could not read a file it wrote itself
    }
    return 0;
}
