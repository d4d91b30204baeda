#include "formats/save_as.h"

#include <algorithm>
#include <cctype>
#include <string>

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

SaveResult SaveAs(const World& world, Settings& settings, const std::filesystem::path& file,
                  SaveFormat format) {
    SaveResult result;
    switch (format) {
        case SaveFormat::Zlf:
            result.path = SaveNativeFile(world, settings, file, NativeKind::Zlf);
            break;
        case SaveFormat::Life105:
            result.path = WriteLife105File(world, file, &result.problems);
            break;
        case SaveFormat::Rle:
            result.path = WriteRleFile(world, file, &result.problems);
            break;
        case SaveFormat::MCell:
            result.path = WriteMCellFile(world, settings, file);
            break;
    }
    return result;
}

}  // namespace zentorix
