#include "formats/save_as.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "formats/field_section.h"
#include "formats/life_files.h"
#include "formats/mcell_file.h"
#include "formats/native_file.h"
#include "formats/rle_file.h"

namespace zentorix {

std::optional<SaveFormat> SaveFormatOf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".zlf")
        return SaveFormat::Zlf;
    if (ext == ".lif")
        return SaveFormat::Life105;
    if (ext == ".rle")
        return SaveFormat::Rle;
    if (ext == ".mcl")
        return SaveFormat::MCell;
    return std::nullopt;
}

std::filesystem::path SavedFilePath(SaveFormat format, const std::filesystem::path& file) {
    std::filesystem::path path = file;
    switch (format) {
        case SaveFormat::Zlf:
            return NativeFilePath(file, NativeKind::Zlf);
        case SaveFormat::Life105:
            return path.replace_extension(".lif");
        case SaveFormat::Rle:
            return path.replace_extension(".rle");
        case SaveFormat::MCell:
            return path.replace_extension(".mcl");
    }
    return path;
}

namespace {

// Cells of the layers a save writes that are above the highest state the cell
// letters name: they are written in that state, and the user hears how many.
void ReportStatesBeyondLetters(const World& world, bool allLayers, FileProblems& problems) {
    long long beyond = 0;
    for (Layer layer : {Layer::Main, Layer::EternalLife, Layer::EternalDead, Layer::OtherReality}) {
        if (!allLayers && layer != Layer::Main)
            continue;
        const auto& field = world.LayerField(layer);
        for (int x = 0; x <= world.ExtentX(); ++x)
            for (int y = 0; y <= world.ExtentY(); ++y)
                beyond += field.at(x, y) > kHighestSymbolState;
    }
    if (beyond > 0)
        problems.push_back(std::to_string(beyond) + " cells with states above " +
                           std::to_string(kHighestSymbolState) + " were saved in state " +
                           std::to_string(kHighestSymbolState) + ".");
}

}  // namespace

SaveResult SaveAs(const World& world, Settings& settings, const std::filesystem::path& file,
                  SaveFormat format) {
    SaveResult result;
    switch (format) {
        case SaveFormat::Zlf:
            result.path = SaveNativeFile(world, settings, file, NativeKind::Zlf);
            ReportStatesBeyondLetters(world, true, result.problems);
            break;
        case SaveFormat::Life105:
            result.path = WriteLife105File(world, file, &result.problems);
            break;
        case SaveFormat::Rle:
            result.path = WriteRleFile(world, file, &result.problems);
            break;
        case SaveFormat::MCell:
            result.path = WriteMCellFile(world, settings, file);
            ReportStatesBeyondLetters(world, false, result.problems);
            break;
    }
    return result;
}

}  // namespace zentorix
