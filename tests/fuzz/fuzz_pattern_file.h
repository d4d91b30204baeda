#pragma once

// Shared by the pattern reader fuzz targets: the input becomes a file, and the
// load options vary with the input's last byte so that every path is reached.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "engine/format_error.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix::fuzz {

// Replacing a file in place makes the file system flush it first, which costs
// far more than the reading; so the old input is removed instead of truncated.
inline std::filesystem::path WriteInput(const char* name, const std::uint8_t* data,
                                        std::size_t size) {
    const auto file = std::filesystem::temp_directory_path() / name;
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

inline void VaryOptions(World& world, Settings& settings, const std::uint8_t* data,
                        std::size_t size) {
    const std::uint8_t b = size ? data[size - 1] : 0;
    settings.ClearForLoad = (b & 1) == 0;
    settings.StopForLoad = (b & 2) != 0;
    settings.LoadFieldSelector = (b >> 2) & 3;
    settings.LoadRulesSelector = (b >> 4) % 3;
    // Small fields keep the whole-field erase cheap; fitting still grows them.
    world.SetFieldWidth(25 + (b % 16) * 4);
    world.SetFieldHeight(25 + (b % 8) * 4);
}

// Removes a written file, so the next write does not replace it in place.
inline void RemoveOutput(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

}  // namespace zentorix::fuzz
