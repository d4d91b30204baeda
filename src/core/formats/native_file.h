#pragma once

#include <filesystem>
#include <string_view>

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The four kinds of the program's own configuration-and-field file.
enum class NativeKind { Zlf, Mini, Qsave, Ini };

// "zlf", "mini", "qsave" or "ini", as the "#FileType " line names the kind.
std::string_view NativeKindName(NativeKind kind);
// The name a file of the kind is written under: the extension replaced by
// ".zlf", ".mlf" or ".qlf"; an ini file keeps its name.
std::filesystem::path NativeFilePath(const std::filesystem::path& file, NativeKind kind);

// Writes a file of the kind from the current state. The extension is replaced as
// the kind demands (".zlf", ".mlf", ".qlf"; an ini file keeps its name). Gives
// the path written. Throws FileError when the file cannot be written; the old
// file is then untouched. The speed position 0 is stored as 1; the save commands
// go through SaveNativeFile, which raises the setting itself to match.
std::filesystem::path WriteNativeFile(const World& world, const Settings& settings,
                                      const std::filesystem::path& file, NativeKind kind);

// The save commands' way to write: the speed track bar is first raised from 0 to
// 1, as the file stores it, then the file is written.
std::filesystem::path SaveNativeFile(const World& world, Settings& settings,
                                     const std::filesystem::path& file, NativeKind kind);

struct NativeReadResult {
    bool found = false;  // the file existed and was read
    NativeKind kind = NativeKind::Zlf;
    bool stopRun = false;       // StopForLoad was on: the run is to stop
    bool languageRead = false;  // "#Language" was read: the GUI applies Settings::Language
};

// Reads any kind and applies what it holds: settings, rules, size, layers. A
// missing file changes nothing. A malformed number raises FormatError; settings
// applied from earlier lines keep their values, rules and layers are not loaded.
// The stop asked for by StopForLoad (Generation back to 1) is made before the
// first line is read, so a caller that catches FormatError stops its run timer
// whenever StopForLoad was on.
NativeReadResult ReadNativeFile(World& world, Settings& settings,
                                const std::filesystem::path& file);

}  // namespace zentorix
