// Life 1.05 pictures and Life 1.06 cell lists: import of both, export of 1.05.
#include "formats/life_files.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "formats/key_lines.h"
#include "formats/pattern_text.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

// Description lines are kept to this many characters.
constexpr std::size_t kDescriptionLimit = 3000;

void SetConwayRule(World& world, const Settings& settings) {
    ParseRuleString(world, kStartUpRuleText0, kFamilyZentorix, settings.LoadRulesSelector);
}

// The first words of a line, split at blanks and tabs.
std::array<std::string_view, 3> Words(std::string_view line) {
    std::array<std::string_view, 3> words{};
    std::size_t i = 0;
    for (std::string_view& word : words) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        word = line.substr(start, i - start);
    }
    return words;
}

// The corner of a "#P x y" line, when both numbers read.
std::optional<std::pair<std::int64_t, std::int64_t>> BlockCorner(std::string_view line) {
    const auto words = Words(line.substr(3));
    const auto x = ParseInteger(words[0]);
    const auto y = ParseInteger(words[1]);
    if (!x || !y)
        return std::nullopt;
    return std::make_pair(std::int64_t{*x}, std::int64_t{*y});
}

// A picture row: any line without "#" or "!".
bool IsPictureRow(std::string_view line) {
    return line.find_first_of("#!") == std::string_view::npos;
}

// A "#R" line: read when the whole rule reads (survival/birth "23/3", birth-first
// "B3/S23", with a state count or a "V"/"H" neighbourhood); otherwise the rules
// stay and the user hears which rule was not understood.
void ReadRuleLine(World& world, const Settings& settings, std::string_view line,
                  FileProblems* problems) {
    const std::string_view rule = FromColumn(line, 4);
    if (ReadOldLifeRule(rule))
        ParseRuleString(world, rule, kFamilyOldLife, settings.LoadRulesSelector);
    else if (problems)
        problems->push_back("The rule \"" + std::string(rule) +
                            "\" could not be read; the rules in use were kept.");
}

void AddDescription(World& world, std::string_view line) {
    world.Description.emplace_back(FirstCharacters(FromColumn(line, 4), kDescriptionLimit));
}

}  // namespace

void ReadLife105File(World& world, Settings& settings, const std::filesystem::path& file,
                     PanelSize panel, FileProblems* problems) {
    const auto text = PatternText::Read(file);
    if (!text) {
        SetConwayRule(world, settings);
        return;
    }
    BeginPatternLoad(world, settings, file, "Life 1.05");

    // The smallest corner of the blocks that hold rows, so that the pattern starts
    // one column and one row in wherever it was drawn. Rows before any "#P" line
    // belong to a block at 0, 0.
    std::optional<std::int64_t> minX, minY;
    {
        std::int64_t bx = 0, by = 0;
        text->ForEachLine([&](std::string_view line) {
            if (StartsWith(line, "#P ")) {
                if (const auto corner = BlockCorner(line))
                    std::tie(bx, by) = *corner;
            } else if (IsPictureRow(line)) {
                minX = std::min(minX.value_or(bx), bx);
                minY = std::min(minY.value_or(by), by);
            }
        });
    }
    const std::int64_t originX = minX.value_or(0), originY = minY.value_or(0);

    std::int64_t bx = 0, by = 0, k = 1, w = 0, h = 0;
    std::optional<std::string> ruleLine, ownRule;
    text->ForEachLine([&](std::string_view line) {
        if (StartsWith(line, kOwnRuleLine)) {
            ownRule = std::string(line.substr(kOwnRuleLine.size()));
        } else if (StartsWith(line, "#D ")) {
            AddDescription(world, line);
        } else if (StartsWith(line, "#P ")) {
            k = 1;
            if (const auto corner = BlockCorner(line))
                std::tie(bx, by) = *corner;
        } else if (StartsWith(line, "#R ")) {
            ruleLine = std::string(line);
        }
        if (!IsPictureRow(line))
            return;
        const std::int64_t row = by + k - originY;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const std::int64_t column = bx + static_cast<std::int64_t>(i) + 1 - originX;
            const char c = line[i];
            if (column > kPatternHigh) {
                if (c == '*' || c == '0' || c == 'o' || c == 'O')
                    NotePatternOutside(world, column, column, row);
                continue;
            }
            if (c == '.')
                SetPatternCell(world, column, row, 0);
            else if (c == '*' || c == '0' || c == 'o' || c == 'O')
                SetPatternCell(world, column, row, 1);
        }
        ++k;
        w = std::max<std::int64_t>(w, bx + static_cast<std::int64_t>(line.size()) - originX);
        h = std::max(h, by + k - originY);
    });
    PlacePattern(world, settings, PatternExtent(w), PatternExtent(h), true, panel);
    if (ownRule)
        ParseRuleString(world, *ownRule, kFamilyZentorix, settings.LoadRulesSelector);
    else if (ruleLine)
        ReadRuleLine(world, settings, *ruleLine, problems);
    else
        SetConwayRule(world, settings);
}

void ReadLife106File(World& world, Settings& settings, const std::filesystem::path& file,
                     PanelSize panel, FileProblems* problems) {
    const auto text = PatternText::Read(file);
    if (!text)
        return;
    BeginPatternLoad(world, settings, file, "Life 1.06");

    struct Cell {
        std::int64_t x, y;
        std::int32_t state;
    };
    // A cell line: two whole numbers and an optional state (1 when it is missing
    // or not a number; a state below 0 means an empty cell).
    auto cellOf = [](std::string_view line) -> std::optional<Cell> {
        const auto words = Words(line);
        const auto x = ParseInteger(words[0]);
        const auto y = ParseInteger(words[1]);
        if (!x || !y)
            return std::nullopt;
        const std::int32_t state = ParseInteger(words[2]).value_or(1);
        return Cell{*x, *y, std::max<std::int32_t>(state, 0)};
    };

    std::int64_t minX = std::numeric_limits<std::int64_t>::max(), minY = minX;
    std::int64_t maxX = std::numeric_limits<std::int64_t>::min(), maxY = maxX;
    std::optional<std::string> ruleLine;
    bool conway = false;
    text->ForEachLine([&](std::string_view line) {
        if (StartsWith(line, "#D "))
            AddDescription(world, line);
        else if (StartsWith(line, "#N"))
            conway = true;
        else if (StartsWith(line, "#R "))
            ruleLine = std::string(line);
        if (const auto cell = cellOf(line)) {
            minX = std::min(minX, cell->x);
            maxX = std::max(maxX, cell->x);
            minY = std::min(minY, cell->y);
            maxY = std::max(maxY, cell->y);
        }
    });
    // Setting the same rule again changes nothing, so many "#N" lines cost one.
    if (conway)
        SetConwayRule(world, settings);
    const bool any = maxX >= minX;
    text->ForEachLine([&](std::string_view line) {
        if (const auto cell = cellOf(line))
            SetPatternCell(world, cell->x - minX, cell->y - minY, cell->state);
    });
    PlacePattern(world, settings, any ? PatternExtent(maxX - minX) : 0,
                 any ? PatternExtent(maxY - minY) : 0, true, panel);
    if (ruleLine)
        ReadRuleLine(world, settings, *ruleLine, problems);
}

std::string Life105RuleLine(const RuleEditorState& editor) {
    std::string line = "#R ";
    for (int d = 0; d <= 9; ++d)
        if (editor.S[d])
            line += static_cast<char>('0' + d);
    line += '/';
    for (int d = 0; d <= 9; ++d)
        if (editor.B[d])
            line += static_cast<char>('0' + d);
    return line;
}

std::filesystem::path WriteLife105File(const World& world, const std::filesystem::path& file,
                                       FileProblems* problems) {
    int minX = world.ExtentX(), maxX = 0, minY = world.ExtentY(), maxY = 0;
    int decaying = 0;
    for (int x = 1; x <= world.FieldWidth(); ++x)
        for (int y = 1; y <= world.FieldHeight(); ++y)
            if (world.MainField.at(x, y) > 0) {
                decaying += world.Rules[0].History && world.MainField.at(x, y) > 1;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }

    TextBuilder text;
    text.Line("#Life 1.05");
    text.Line(Life105RuleLine(world.Editor));
    // The survival/birth line names two-state rules of the eight neighbours only;
    // any other rule travels as our own text, which our reader prefers.
    const RuleSet& rules = world.Rules[0];
    if (rules.History || CountNeighbourhood(rules) != 'M') {
        text.Line(std::string(kOwnRuleLine) + FormatRuleTokens(rules));
        if (problems)
            problems->push_back(
                "Life 1.05 cannot name the rule; it is kept in a \"#D\" line "
                "that only Zentorix reads.");
    }
    if (decaying > 0 && problems)
        problems->push_back(std::to_string(decaying) +
                            " cells in decaying states were saved as live cells.");
    // A description line that holds a line end stays a description line.
    for (const std::string& description : world.Description) {
        if (description.empty())
            text.Line("#D ");
        ForEachTextLine(description,
                        [&](std::string_view line) { text.Line("#D " + std::string(line)); });
    }
    std::string row;
    for (int y = minY; y <= maxY; ++y) {
        row.clear();
        for (int x = minX; x <= maxX; ++x)
            row += world.MainField.at(x, y) > 0 ? '*' : '.';
        text.Line(row);
    }
    std::filesystem::path out = file;
    out.replace_extension(".lif");
    text.WriteTo(out);
    return out;
}

}  // namespace zentorix
