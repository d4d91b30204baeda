// Stand-in for the palette line reader and writer until the colour model's own
// implementation is merged; it follows the same fixed-column line formats.
#include <cstdio>

#include "view/colour_model.h"

namespace zentorix {

namespace {

std::string Field(Colour value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%*d", width, static_cast<int>(value));
    return text;
}

// The number in 1-based columns first..first+width-1; blanks or nothing read as 0.
Colour ColumnValue(std::string_view line, std::size_t first, std::size_t width) {
    if (first - 1 >= line.size())
        return 0;
    const std::string_view f = line.substr(first - 1, width);
    long long v = 0;
    bool negative = false;
    for (char c : f) {
        if (c == '-')
            negative = true;
        else if (c >= '0' && c <= '9')
            v = v * 10 + (c - '0');
    }
    return static_cast<Colour>(negative ? -v : v);
}

char RowCharacter(int row) {
    return static_cast<char>(row < 10 ? '0' + row : 'A' + row - 10);
}

}  // namespace

std::string FormatPaletteLine(const ColourModel& c, int kind) {
    if (kind == -2) {
        std::string line = "#CX ";
        line += c.ShowBirthCells ? 'B' : ' ';
        line += c.ShowDeadCells ? 'D' : ' ';
        line += c.ColorOn ? 'S' : ' ';
        line += c.ColorMode ? 'G' : ' ';
        for (Colour v : {c.CellColour, c.BackgroundColour, c.GridColour, c.BigGridColour,
                         c.BirthColour, c.DeadColour})
            line += Field(v, 8);
        return line;
    }
    if (kind == -1)
        return "#CZ " + Field(c.GenColourCount, 3);
    if (kind < 0 || kind > 31)
        return {};
    std::string line = "#C";
    line += RowCharacter(kind);
    line += ' ';
    for (int i = 1; i <= 8; ++i)
        line += Field(c.GenPalette[static_cast<std::size_t>(kind * 8 + i)], 8);
    return line;
}

void ApplyPaletteLine(ColourModel& c, std::string_view line) {
    if (line.substr(0, 3) == "#CX") {
        auto at = [&](char letter, std::size_t column) {
            const std::size_t p = line.find(letter);
            return p != std::string_view::npos && p + 1 == column;
        };
        c.ShowBirthCells = at('B', 5);
        c.ShowDeadCells = at('D', 6);
        c.ColorOn = at('S', 7);
        c.ColorMode = at('G', 8);
        Colour* targets[] = {&c.CellColour,    &c.BackgroundColour, &c.GridColour,
                             &c.BigGridColour, &c.BirthColour,      &c.DeadColour};
        for (std::size_t i = 0; i < 6; ++i)
            *targets[i] = ColumnValue(line, 9 + 8 * i, 8);
    } else if (line.substr(0, 3) == "#CZ") {
        c.GenColourCount = std::clamp<Colour>(ColumnValue(line, 5, 3), 1, kPaletteSize);
    } else if (line.size() >= 3) {
        const char r = line[2];
        int row = 0;
        if (r >= '0' && r <= '9')
            row = r - '0';
        else if (r >= 'A' && r <= 'W')
            row = r - 'A' + 10;
        for (int i = 1; i <= 8; ++i) {
            const int entry = row * 8 + i;
            if (entry <= kPaletteSize)
                c.GenPalette[static_cast<std::size_t>(entry)] =
                    ColumnValue(line, 5 + 8 * static_cast<std::size_t>(i - 1), 8);
        }
    }
    c.RebuildStateColours();
}

}  // namespace zentorix
