#pragma once

#include <filesystem>
#include <optional>

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

// Writes the experiment in the format; gives the path written. A zlf file goes
// through SaveNativeFile (which raises a speed of 0 to 1 first). Throws
// FileError when the file cannot be written.
std::filesystem::path SaveAs(const World& world, Settings& settings,
                             const std::filesystem::path& file, SaveFormat format);

}  // namespace zentorix
