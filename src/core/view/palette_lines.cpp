// The palette line: the one text form of every colour setting. Numbers stand in
// fixed columns, right-aligned; a number as wide as its field touches its
// neighbour, so fields are always taken by column, never by splitting at blanks.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/format_error.h"
#include "model/colour_model.h"
#include "view/palette_commands.h"

namespace zentorix {

namespace {

constexpr std::size_t kColourWidth = 8;
constexpr std::size_t kCountWidth = 3;
constexpr std::size_t kSchemeFirstColourColumn = 9;
constexpr std::size_t kRowFirstColourColumn = 5;
constexpr std::size_t kCountColumn = 5;
// The writer's row table; "W" names row 32, whose entries lie past the palette.
constexpr std::string_view kRowCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVW";

// Switch letters of the scheme line and the column each stands in.
constexpr char kBirthLetter = 'B';
constexpr char kDeadLetter = 'D';
constexpr char kColorOnLetter = 'S';
constexpr char kColorModeLetter = 'G';

void AppendNumber(std::string& out, std::int64_t value, std::size_t width) {
    const std::string digits = std::to_string(value);
    if (digits.size() < width)
        out.append(width - digits.size(), ' ');
    out.append(digits);
}

// A colour that does not fit its field (only a value set from outside a file can
// be that wide) is written as the 24 bits it is painted with, so the columns of
// the line stay where readers look for them.
void AppendColour(std::string& out, Colour colour) {
    const std::int64_t fits = 99999999;
    const std::int64_t lowest = -9999999;
    const std::int64_t value = colour < lowest || colour > fits ? (colour & 0xFFFFFF) : colour;
    AppendNumber(out, value, kColourWidth);
}

// The number in the 1-based columns [column, column + width). Blanks around it
// are allowed; a field of blanks, a field past the end of the line and a field
// that is not a number all read as 0.
std::int32_t ReadField(std::string_view line, std::size_t column, std::size_t width) {
    if (column - 1 >= line.size())
        return 0;
    std::string_view field = line.substr(column - 1, width);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    if (field.empty())
        return 0;
    return ParseInteger(field).value_or(0);
}

// A switch is on only when the first occurrence of its letter is at its column.
bool SwitchAt(std::string_view line, char letter, std::size_t column) {
    return line.find(letter) == column - 1;
}

std::string FormatSchemeLine(const ColourModel& c) {
    std::string line = "#CX ";
    line += c.ShowBirthCells ? kBirthLetter : ' ';
    line += c.ShowDeadCells ? kDeadLetter : ' ';
    line += c.ColorOn ? kColorOnLetter : ' ';
    line += c.ColorMode ? kColorModeLetter : ' ';
    for (Colour colour : {c.CellColour, c.BackgroundColour, c.GridColour, c.BigGridColour,
                          c.BirthColour, c.DeadColour})
        AppendColour(line, colour);
    return line;
}

void ApplySchemeLine(ColourModel& c, std::string_view line) {
    c.ShowBirthCells = SwitchAt(line, kBirthLetter, 5);
    c.ShowDeadCells = SwitchAt(line, kDeadLetter, 6);
    c.ColorOn = SwitchAt(line, kColorOnLetter, 7);
    c.ColorMode = SwitchAt(line, kColorModeLetter, 8);
    Colour* const targets[] = {&c.CellColour,    &c.BackgroundColour, &c.GridColour,
                               &c.BigGridColour, &c.BirthColour,      &c.DeadColour};
    std::size_t column = kSchemeFirstColourColumn;
    for (Colour* target : targets) {
        *target = ReadField(line, column, kColourWidth);
        column += kColourWidth;
    }
}

std::string FormatCountLine(const ColourModel& c) {
    std::string line = "#CZ ";
    AppendNumber(line, ClampColourCount(c.GenColourCount), kCountWidth);
    return line;
}

std::string FormatRow(const ColourModel& c, int row) {
    std::string line = "#C";
    line += kRowCharacters[static_cast<std::size_t>(row)];
    line += ' ';
    for (int k = 8 * row + 1; k <= 8 * row + 8; ++k)
        AppendColour(line, c.GenPalette[k]);
    return line;
}

// The row a line names by its third character; characters outside the table
// (and a line too short to have one) name row 0, as they always have.
int RowOf(std::string_view line) {
    if (line.size() < 3)
        return 0;
    const std::size_t row = kRowCharacters.find(line[2]);
    return row == std::string_view::npos ? 0 : static_cast<int>(row);
}

void ApplyRow(ColourModel& c, std::string_view line) {
    const int row = RowOf(line);
    std::size_t column = kRowFirstColourColumn;
    for (int k = 8 * row + 1; k <= 8 * row + 8; ++k) {
        // Row "W" reaches past the palette; its fields have nowhere to go.
        if (k > kPaletteSize)
            break;
        SetPanelEntry(c, k, ReadField(line, column, kColourWidth));
        column += kColourWidth;
    }
}

}  // namespace

std::string FormatPaletteLine(const ColourModel& colours, int kind) {
    if (kind == kSchemeLineKind)
        return FormatSchemeLine(colours);
    if (kind == kCountLineKind)
        return FormatCountLine(colours);
    if (kind >= 0 && kind < kPaletteRowCount)
        return FormatRow(colours, kind);
    return {};
}

void ApplyPaletteLine(ColourModel& colours, std::string_view line) {
    ReadPaletteLine(colours, line);
    colours.RebuildStateColours();
}

void ReadPaletteLine(ColourModel& colours, std::string_view line) {
    if (line.starts_with("#CX"))
        ApplySchemeLine(colours, line);
    else if (line.starts_with("#CZ"))
        colours.GenColourCount = ClampColourCount(ReadField(line, kCountColumn, kCountWidth));
    else if (line.starts_with("#C"))
        ApplyRow(colours, line);
}

}  // namespace zentorix
