#pragma once

#include <algorithm>
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

// The text with every byte sequence that is not UTF-8 replaced by U+FFFD, so a
// file we write always reads back as the same characters.
std::string ValidUtf8(std::string_view text);

// The length of the line end at `at` (0 when there is none). Files come with
// CR LF, LF or a lone CR; "\r\r\n", which a CR LF file gets from a copy that
// turned LF into CR LF once more, is one line end too.
inline std::size_t LineEndLength(std::string_view text, std::size_t at) {
    if (at >= text.size())
        return 0;
    if (text[at] == '\n')
        return 1;
    if (text[at] != '\r')
        return 0;
    if (text.substr(at + 1, 1) == "\n")
        return 2;
    return text.substr(at + 1, 2) == "\r\n" ? 3 : 1;
}

// Calls f with every line of the text, split at any line end LineEndLength knows.
// A final line without a line end still counts; a line end at the very end of the
// text does not start another line. No line is copied.
template <typename F>
void ForEachTextLine(std::string_view text, F&& f) {
    // The next CR and the next LF are each found by one fast search and kept
    // until passed: a search for either character tries both at every byte.
    std::size_t start = 0, cr = text.find('\r'), lf = text.find('\n');
    while (start < text.size()) {
        if (cr < start)
            cr = text.find('\r', start);
        if (lf < start)
            lf = text.find('\n', start);
        std::size_t end = std::min(cr, lf);
        if (end == std::string_view::npos)
            end = text.size();
        f(text.substr(start, end - start));
        start = end + std::max<std::size_t>(LineEndLength(text, end), 1);
    }
}

// The lines of the text as ForEachTextLine splits them.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file as bytes; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
// The whole file decoded (DecodeText) without a second copy of valid UTF-8.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);
// The file's lines, decoded; nothing when it cannot be opened. For small files:
// every line is a string of its own.
std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& path);

// Replaces the file by the content so that it is either the old or the new file
// whole, whatever happens: the content goes to a temporary of a unique name in
// the same folder, is flushed to the disk and renamed over the file. A symbolic
// link is written through to its target; the file's permissions are kept; a file
// without write permission is refused. Throws FileError naming the file and the
// reason (the old file is then untouched and the temporary removed).
void WriteFileAtomic(const std::filesystem::path& path, std::string_view content);

// Builds a text file line by line, with CR LF line ends unless told otherwise
// (files meant for other programs that stop at a CR).
class TextBuilder {
  public:
    explicit TextBuilder(std::string_view lineEnd = "\r\n") : lineEnd_(lineEnd) {}
    // Text that is not UTF-8 (a file name of raw bytes, say) is mended on the way.
    void Line(std::string_view text = {}) {
        if (IsValidUtf8(text))
            text_.append(text);
        else
            text_.append(ValidUtf8(text));
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
