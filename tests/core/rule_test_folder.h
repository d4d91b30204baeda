#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "formats/text_file.h"

namespace zentorix::test {

// A fresh folder under the system's temporary folder, removed with everything in
// it when the test ends.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("zentorix-rules-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes the bytes as they are into a file of this folder.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
        const auto file = path_ / std::string(name);
        WriteFileAtomic(file, bytes);
        return file;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace zentorix::test
