// Any content of a layer library file: the first byte chooses the layer, the rest
// is the file. Loading applies or stops with the invalid-integer error; a file
// saved from the state it leaves loads back without an error.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include "engine/format_error.h"
#include "formats/layer_files.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static const zentorix::ProgramFolder folder = [] {
        zentorix::ProgramFolder f{zentorix::fuzz::WorkFolder()};
        std::filesystem::create_directories(f.Field());
        return f;
    }();
    if (size == 0)
        return 0;
    const auto layer = static_cast<zentorix::Layer>(1 + data[0] % 3);
    // A small field keeps loading and saving cheap; the file may set another.
    world.SetFieldWidth(25 + (data[0] / 3) % 32);
    world.SetFieldHeight(25 + (data[0] / 3) % 24);
    static zentorix::Settings settings;
    settings = zentorix::Settings{};
    zentorix::fuzz::WriteFile(zentorix::LayerFilePath(folder, layer, "input"),
                              std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    try {
        zentorix::LoadLayerFile(world, settings, folder, layer, "input");
    } catch (const zentorix::FormatError&) {
        return 0;
    }
    zentorix::SaveLayerFile(world, settings, folder, layer, "again");
    zentorix::fuzz::ReadOwn(
        [&] { zentorix::LoadLayerFile(world, settings, folder, layer, "again"); });
    return 0;
}
