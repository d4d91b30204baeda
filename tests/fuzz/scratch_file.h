#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

// A file of the fuzz process's own in the temporary folder, which the readers
// are pointed at; removed when the process ends.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& extension)
        : path_(std::filesystem::temp_directory_path() /
                ("zentorix-fuzz-" + std::to_string(std::random_device{}()) + extension)) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Write(const std::uint8_t* data, std::size_t size) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path_;
    }

  private:
    std::filesystem::path path_;
};
