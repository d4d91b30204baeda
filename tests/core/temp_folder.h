#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "formats/text_file.h"

namespace zentorix::test {

// A fresh folder below the system's temporary folder, removed with everything in
// it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("zentorix-" + std::string(info ? info->name() : "test") + "-" +
                 std::to_string(random()));
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

  private:
    std::filesystem::path path_;
};

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
