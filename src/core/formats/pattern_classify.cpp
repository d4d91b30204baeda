// Deciding what a file is: its first line names most formats; headerless RLE,
// Life 1.05 pictures and Life 1.06 coordinate lists are recognised by their marks.
#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

#include "engine/format_error.h"
#include "formats/pattern_load.h"
#include "formats/pattern_text.h"
#include "formats/text_file.h"

namespace zentorix {

namespace {

PatternFormat ClassifyByHeader(std::string_view first) {
    PatternFormat format = PatternFormat::None;
    if (first.size() >= 5 && first[0] == 'd' && first[4] == 'R')
        format = PatternFormat::Life20;
    if (Contains(first, "#Zentorix"))
        format = PatternFormat::Native;
    if (StartsWith(first, "#MCell"))
        format = PatternFormat::MCell;
    if (StartsWith(first, "#Life 1.05") && !StartsWith(first, "#Life 1.05b"))
        format = PatternFormat::Life105;
    if (StartsWith(first, "#Life 1.05b") || first == "#Life 1.06")
        format = PatternFormat::Life106;
    return format;
}

// Two whole numbers separated by the line's first blank, nothing else.
bool IsCoordinateLine(std::string_view line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return false;
    return ParseInteger(line.substr(0, blank)).has_value() &&
           ParseInteger(line.substr(blank + 1, 99)).has_value();
}

// The marks seen since the last coordinate line.
struct Marks {
    bool dollar = false, b = false, bang = false, o = false;
    // Picture pairs: ".*"/"*.", ".o"/"o.", ".0"/"0.", ".O"/"O.".
    bool dotBefore[4] = {}, dotAfter[4] = {};

    bool Any() const {
        return dollar || b || bang || o || std::any_of(dotBefore, dotBefore + 4, Id) ||
               std::any_of(dotAfter, dotAfter + 4, Id);
    }
    bool Rle() const { return dollar && b && bang && o; }
    bool Picture() const {
        for (int k = 0; k < 4; ++k)
            if (dotBefore[k] && dotAfter[k])
                return true;
        return false;
    }
    static bool Id(bool v) { return v; }
};

int PictureIndex(char c) {
    switch (c) {
        case '*':
            return 0;
        case 'o':
            return 1;
        case '0':
            return 2;
        case 'O':
            return 3;
        default:
            return -1;
    }
}

void NoteMarks(Marks& m, std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        m.dollar |= c == '$';
        m.b |= c == 'b';
        m.bang |= c == '!';
        m.o |= c == 'o';
        if (i + 1 < line.size()) {
            const char next = line[i + 1];
            if (const int k = PictureIndex(next); c == '.' && k >= 0 && k < 4)
                m.dotBefore[k] = true;
            if (const int k = PictureIndex(c); next == '.' && k >= 0 && k < 4)
                m.dotAfter[k] = true;
        }
    }
}

std::string_view SkipSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

// Removes `head` after leading blanks; false when the text does not start so.
bool Take(std::string_view& s, std::string_view head) {
    s = SkipSpaces(s);
    if (!StartsWith(s, head))
        return false;
    s.remove_prefix(head.size());
    return true;
}

// The start of an RLE header line: "x", blanks, "=" at the start of the line.
bool IsRleHeader(std::string_view line) {
    return Take(line, "x") && Take(line, "=");
}

// A whole RLE header, "x = <n>, y = <n>" (blanks optional): no other format has
// such a line, so it names the file whatever marks its data holds.
bool IsFullRleHeader(std::string_view line) {
    if (!Take(line, "x") || !Take(line, "="))
        return false;
    line = SkipSpaces(line);
    const std::size_t digits = line.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos)
        return false;
    line.remove_prefix(digits);
    if (!Take(line, ",") || !Take(line, "y") || !Take(line, "="))
        return false;
    line = SkipSpaces(line);
    return !line.empty() && line.front() >= '0' && line.front() <= '9';
}

PatternFormat ClassifyByContent(const PatternText& text) {
    Marks marks;
    bool coordinates = false;
    bool rleHeader = false, fullRleHeader = false, binary = false;
    text.ForEachLine([&](std::string_view line) {
        binary |= line.find('\0') != std::string_view::npos;
        // Comment lines say anything ("version 10.0", "o.k."): they carry no marks.
        if (StartsWith(line, "#"))
            return;
        rleHeader |= IsRleHeader(line);
        fullRleHeader |= IsFullRleHeader(line);
        NoteMarks(marks, line);
        if (IsCoordinateLine(line)) {
            coordinates = true;
            marks = Marks{};
        }
    });
    // Text patterns hold no NUL byte; random data and programs do, and their
    // stray dots and stars must not open as a picture.
    if (binary)
        return PatternFormat::None;
    if (coordinates && !marks.Any())
        return PatternFormat::Life106;
    PatternFormat format = PatternFormat::None;
    if (marks.Rle())
        format = PatternFormat::Rle;
    if (marks.Picture())
        format = PatternFormat::Life105;
    // Multi-state data (".O.") holds picture pairs; its header line tells.
    if (fullRleHeader)
        format = PatternFormat::Rle;
    // Patterns without any empty run ("2o$2o!", a block) carry no "b"; their
    // header line still says what they are.
    if (format == PatternFormat::None && rleHeader)
        format = PatternFormat::Rle;
    return format;
}

bool HasBitmapExtension(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".bmp";
}

}  // namespace

PatternFormat ClassifyPatternText(const PatternText& text) {
    const PatternFormat format = ClassifyByHeader(text.FirstLine());
    if (format != PatternFormat::None)
        return format;
    return ClassifyByContent(text);
}

PatternFormat ClassifyPatternFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return PatternFormat::None;
    if (HasBitmapExtension(file))
        return PatternFormat::Bitmap;
    const auto text = PatternText::Read(file);
    if (!text)
        return PatternFormat::None;
    return ClassifyPatternText(*text);
}

}  // namespace zentorix
