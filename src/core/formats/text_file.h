#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

// A file that could not be written (or read where reading must succeed). The
// message names the file and the reason.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// File bytes as UTF-8 text: a UTF-8 byte-order mark is dropped, valid UTF-8 is
// kept as it is, anything else is taken as Windows-1251 (files made on older
// systems) and converted.
std::string DecodeText(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Splits text into lines at LF; a CR before the LF is dropped, and so is a lone
// CR at the very end. A final line without a line end still counts.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file as bytes; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
// The file's lines, decoded; nothing when it cannot be opened.
std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& path);

// Writes the content to "name.tmp" and renames it over the file, so a crash or a
// full disk never leaves a half-written file. Throws FileError on failure (the
// old file is then untouched and the temporary removed).
void WriteFileAtomic(const std::filesystem::path& path, std::string_view content);

// Builds a text file line by line, with CR LF line ends unless told otherwise
// (files meant for other programs that stop at a CR).
class TextBuilder {
  public:
    explicit TextBuilder(std::string_view lineEnd = "\r\n") : lineEnd_(lineEnd) {}
    void Line(std::string_view text = {}) {
        text_.append(text);
        text_.append(lineEnd_);
    }
    const std::string& Text() const { return text_; }
    void WriteTo(const std::filesystem::path& path) const { WriteFileAtomic(path, text_); }

  private:
    std::string text_;
    std::string lineEnd_;
};

// The key padded with blanks to 22 characters and the value from the 23rd on.
std::string KeyLine(std::string_view key, std::string_view value);

// Byte-wise helpers for the files' fixed layouts.
inline bool StartsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}
inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}
// The text from the 1-based character position on (empty when the line is shorter).
inline std::string_view FromColumn(std::string_view text, std::size_t column) {
    return column - 1 < text.size() ? text.substr(column - 1) : std::string_view{};
}

}  // namespace zentorix
