#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zentorix {

// No pattern that fits the field needs more: a Life 1.06 list of every cell of
// the largest field is about 20 MiB.
inline constexpr std::uintmax_t kMaxPatternFileBytes = std::uintmax_t{64} << 20;

// Calls f with every line of the text, as SplitLines splits them: at LF, a CR
// before it dropped, a last line without a line end included.
template <typename F>
void ForEachTextLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        f(line);
        start = end + 1;
    }
}

// The decoded text of a pattern file, walked line by line without a copy per line,
// so that a file of millions of short lines costs no more than its own size.
class PatternText {
  public:
    // Nothing when the file is missing or cannot be read. A file above
    // kMaxPatternFileBytes raises FileError.
    static std::optional<PatternText> Read(const std::filesystem::path& file);
    explicit PatternText(std::string text) : text_(std::move(text)) {}

    // Calls f with every line, as SplitLines splits them: at LF, a CR before it
    // dropped, a last line without a line end included.
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
