#pragma once

#include <filesystem>

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The four kinds of the program's own configuration-and-field file.
enum class NativeKind { Zlf, Mini, Qsave, Ini };

// Writes a file of the kind from the current state. The extension is replaced as
// the kind demands (".zlf", ".mlf", ".qlf"; an ini file keeps its name). Gives
// the path written. Throws FileError when the file cannot be written; the old
// file is then untouched.
std::filesystem::path WriteNativeFile(const World& world, const Settings& settings,
                                      const std::filesystem::path& file, NativeKind kind);

struct NativeReadResult {
    bool found = false;  // the file existed and was read
    NativeKind kind = NativeKind::Zlf;
    bool stopRun = false;  // StopForLoad was on: the run is to stop
};

// Reads any kind and applies what it holds: settings, rules, size, layers. A
// missing file changes nothing. A malformed number raises FormatError; settings
// applied from earlier lines keep their values, rules and layers are not loaded.
NativeReadResult ReadNativeFile(World& world, Settings& settings,
                                const std::filesystem::path& file);

}  // namespace zentorix
