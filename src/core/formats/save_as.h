#pragma once

#include <filesystem>
#include <optional>

#include "formats/file_problems.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The formats an experiment can be saved in.
enum class SaveFormat { Zlf, Life105, Rle, MCell };

// The format a file name's extension names (".zlf", ".lif", ".rle", ".mcl", in
// any case); nothing for any other extension.
std::optional<SaveFormat> SaveFormatOf(const std::filesystem::path& file);

// The file a save in that format writes: the writers replace the extension.
std::filesystem::path SavedFilePath(SaveFormat format, const std::filesystem::path& file);

struct SaveResult {
    std::filesystem::path path;  // the file written
    FileProblems problems;       // what the format could not carry
};

// Writes the experiment in the format; gives the path written. A zlf file goes
// through SaveNativeFile (which raises a speed of 0 to 1 first). Throws
// FileError when the file cannot be written.
SaveResult SaveAs(const World& world, Settings& settings, const std::filesystem::path& file,
                  SaveFormat format);

}  // namespace zentorix
