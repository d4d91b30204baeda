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

// The header line of an RLE pattern: "x", blanks, "=" at the start of the line.
bool IsRleHeader(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    if (i >= line.size() || line[i] != 'x')
        return false;
    ++i;
    while (i < line.size() && line[i] == ' ')
        ++i;
    return i < line.size() && line[i] == '=';
}

PatternFormat ClassifyByContent(const PatternText& text) {
    Marks marks;
    bool coordinates = false;
    bool rleHeader = false;
    text.ForEachLine([&](std::string_view line) {
        rleHeader |= IsRleHeader(line);
        NoteMarks(marks, line);
        if (IsCoordinateLine(line)) {
            coordinates = true;
            marks = Marks{};
        }
    });
    if (coordinates && !marks.Any())
        return PatternFormat::Life106;
    PatternFormat format = PatternFormat::None;
    if (marks.Rle())
        format = PatternFormat::Rle;
    if (marks.Picture())
        format = PatternFormat::Life105;
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
