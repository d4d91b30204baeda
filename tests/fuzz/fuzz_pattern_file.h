#pragma once

// Shared by the fuzz targets: a fault traps; for the ones that read files, the
// input becomes a file in a folder of this process, and the load options vary
// with the input's last byte so that every path is reached.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/format_error.h"
#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix::fuzz {

// A fault in the program: the fuzzer stops here and keeps the input.
inline void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Reads what the program wrote itself, which it must never refuse.
template <class Read>
void ReadOwn(Read read) {
    try {
        read();
    } catch (const FormatError&) {
        __builtin_trap();
    }
}

// A folder of this process, in memory where the system has one: the readers
// take paths, and a file on disk (flushed on every replacement) costs far more
// than the reading. libFuzzer ends a run without the exit handlers, so each
// process removes the folders of processes that are gone.
inline const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        const std::filesystem::path shm = "/dev/shm";
        const auto base =
            std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        const std::string prefix = "zentorix-fuzz-";
        for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0)
                continue;
            const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                std::filesystem::remove_all(entry.path(), ec);
        }
        auto f = base / (prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::filesystem::path WriteInput(const char* name, const std::uint8_t* data,
                                        std::size_t size) {
    const auto file = WorkFolder() / name;
    WriteFile(file, std::string_view(reinterpret_cast<const char*>(data), size));
    return file;
}

// The options a pattern reader follows. Only one input in four clears and fits
// the field: fitting a field to the pattern and clearing it cost a pass over up
// to 999x999 cells, which would otherwise bound the speed of every input. The
// others load into a field of 25..40 cells, where a placed pattern is cut.
inline void VaryOptions(World& world, Settings& settings, const std::uint8_t* data,
                        std::size_t size) {
    const std::uint8_t b = size ? data[size - 1] : 0;
    settings.ClearForLoad = (b & 3) == 0;
    settings.StopForLoad = (b & 4) != 0;
    settings.LoadFieldSelector = (b >> 3) & 3;
    settings.LoadRulesSelector = (b >> 5) % 3;
    world.SetFieldWidth(25 + (b % 16));
    world.SetFieldHeight(25 + (b % 13));
}

// Whether the field is small enough for writing it out and reading it back on
// every input; a few fitted fields are far larger and add nothing a small one
// does not cover.
inline bool SmallField(const World& world) {
    return world.FieldWidth() <= 100 && world.FieldHeight() <= 100;
}

// One input of a pattern reader, into a world kept between inputs: the options
// vary with the input, `read(world, settings, file, panel)` reads the file, and
// while the field is small what was read goes to `again`, which writes it out
// (and may read that back). Only a Refusal may end the reading early.
template <class Refusal = FormatError, class Read, class Again = void (*)(World&, Settings&)>
void ReadPattern(
    const char* name, const std::uint8_t* data, std::size_t size, Read read,
    Again again = [](World&, Settings&) {}) {
    static World world;
    static Settings settings;
    // Fresh settings are copied: building the start-up colours costs more than an input.
    static const Settings fresh;
    settings = fresh;
    VaryOptions(world, settings, data, size);
    const auto file = WriteInput(name, data, size);
    try {
        read(world, settings, file, PanelSize{800, 600});
        if (SmallField(world))
            again(world, settings);
    } catch (const Refusal&) {
    }
}

}  // namespace zentorix::fuzz
