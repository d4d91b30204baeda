#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "formats/text_file.h"

namespace zentorix {

// No pattern that fits the field needs more: a Life 1.06 list of every cell of
// the largest field is about 20 MiB.
inline constexpr std::uintmax_t kMaxPatternFileBytes = std::uintmax_t{64} << 20;

// Raises FileError when the file is larger than any pattern file can be, before
// a byte of it is read.
void CheckPatternFileSize(const std::filesystem::path& file);

// The decoded text of a pattern file, walked line by line without a copy per line,
// so that a file of millions of short lines costs no more than its own size.
class PatternText {
  public:
    // Nothing when the file is missing or cannot be read. A file above
    // kMaxPatternFileBytes raises FileError.
    static std::optional<PatternText> Read(const std::filesystem::path& file);
    explicit PatternText(std::string text) : text_(std::move(text)) {}
    std::string_view Text() const { return text_; }

    // Calls f with every line, as ForEachTextLine splits them.
    template <typename F>
    void ForEachLine(F&& f) const {
        ForEachTextLine(text_, f);
    }

    // The first line (empty for an empty file).
    std::string_view FirstLine() const {
        std::string_view first;
        bool seen = false;
        ForEachLine([&](std::string_view line) {
            if (!seen)
                first = line;
            seen = true;
        });
        return first;
    }

  private:
    std::string text_;
};

}  // namespace zentorix
