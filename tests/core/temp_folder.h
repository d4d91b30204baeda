#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "formats/text_file.h"

namespace zentorix::test {

// A fresh folder under the system's temporary folder, removed with its files when
// the test ends. Files are written byte for byte, so tests choose their line ends.
class TempFolder {
  public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("zentorix-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    std::filesystem::path Write(std::string_view name, std::string_view content) const {
        const std::filesystem::path file = path_ / std::string(name);
        std::ofstream out(file, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return file;
    }

    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

// Every file and folder under `root`, relative to it.
inline std::set<std::string> Tree(const std::filesystem::path& root) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec))
        names.insert(entry.path().lexically_relative(root).generic_string());
    return names;
}

// Writes bytes exactly as given (no line-end conversion).
inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    WriteFileAtomic(path, bytes);
}

// The file's lines, decoded; empty when it cannot be read.
inline std::vector<std::string> FileLines(const std::filesystem::path& path) {
    auto lines = ReadTextLines(path);
    return lines ? *lines : std::vector<std::string>{};
}

}  // namespace zentorix::test
