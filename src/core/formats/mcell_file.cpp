#include "formats/mcell_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "formats/field_section.h"
#include "formats/pattern_load.h"
#include "formats/pattern_text.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

// A description line keeps at most this many characters.
constexpr std::size_t kMaxDescriptionChars = 3000;

// The "#GAME" names in the order they are looked for: a later match wins, so the
// plain "Life", found inside every other name, comes first. "LLife" is not a
// family the rule reader knows; such rules leave empty lists.
struct GameName {
    std::string_view game;
    std::string_view family;
};
constexpr std::array<GameName, 5> kGameNames = {{
    {"Life", kFamilyLife},
    {"Larger than Life", "LLife"},
    {"Vote for Life", kFamilyVote},
    {"Weighted Life", kFamilyWLife},
    {"Generations", kFamilyGenerations},
}};

// At most `limit` characters of UTF-8 text, never cutting a character in two.
std::string_view FirstCharacters(std::string_view text, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (count == limit)
            return text.substr(0, i);
        ++count;
    }
    return text;
}

// The cell data of all "#L " lines read as one stream. The pattern starts at
// row 1; mx and ly are the last column and row handed to the placement.
class CellDataDecoder {
  public:
    explicit CellDataDecoder(World& world) : world_(world) {}

    void Line(std::string_view data) {
        for (const char c : data) {
            if (c >= '0' && c <= '9') {
                count_ = std::min(count_ * 10 + (c - '0'), kCountLimit);
                continue;
            }
            if (const int base = BlockBase(c); base >= 0) {
                block_ = base;
                continue;
            }
            const std::int64_t n = count_ == 0 ? 1 : count_;
            count_ = 0;
            if (c == '.') {
                Put(n, 0);
            } else if (c == '$') {
                // A count adds empty rows, not columns.
                y_ = std::min(y_ + n, kCountLimit);
                mx_ = std::max(mx_, x_ + 1);
                ly_ = y_;
                x_ = 0;
                block_ = 0;
            } else if (c >= 'A' && c <= 'X') {
                Put(n, block_ + (c - 'A' + 1));
            }
        }
    }

    // Data that ends inside a row (no final "$") must not lose that row's cells
    // at placement: the placed width takes in the column it reached, and a
    // pattern of that one row keeps its row. With any "$" read, the last row
    // passed stays the one the last "$" reached, which is the unfinished row.
    void Finish() {
        if (x_ > 0) {
            mx_ = std::max(mx_, x_);
            ly_ = std::max(ly_, y_);
        }
    }

    // Any size past the grid places alike, so the values are kept within int.
    int LastColumn() const { return static_cast<int>(std::min<std::int64_t>(mx_, kMaxFieldSize)); }
    int LastRow() const { return static_cast<int>(std::min<std::int64_t>(ly_, kMaxFieldSize)); }

  private:
    void Put(std::int64_t n, std::int32_t state) {
        SetPatternRun(world_, x_, n, y_, state);
        x_ = std::min(x_ + n, kCountLimit);
        block_ = 0;
    }

    World& world_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 1;
    std::int64_t count_ = 0;
    std::int32_t block_ = 0;
    std::int64_t mx_ = 0;
    std::int64_t ly_ = 0;
};

// "#BOARD WxH": the width before the first "x", the height from up to nine
// characters after it. Sizes the field cannot take are brought into 25..997.
void ApplyBoard(World& world, std::string_view line) {
    const std::string_view rest = FromColumn(line, 8);
    const std::size_t cross = rest.find('x');
    const std::int32_t w =
        ToInteger(cross == std::string_view::npos ? std::string_view{} : rest.substr(0, cross));
    const std::int32_t h =
        ToInteger(cross == std::string_view::npos ? std::string_view{} : rest.substr(cross + 1, 9));
    world.SetFieldWidth(std::clamp(w, kMinFieldSize, kMaxLoadedFieldSize));
    world.SetFieldHeight(std::clamp(h, kMinFieldSize, kMaxLoadedFieldSize));
}

// The parts of a description entry between line breaks (as a reader splits
// lines); an empty entry is one empty part.
std::vector<std::string_view> DescriptionParts(std::string_view entry) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (entry[i] != '\r' && entry[i] != '\n')
            continue;
        parts.push_back(entry.substr(start, i - start));
        i += LineEndLength(entry, i) - 1;
        start = i + 1;
    }
    parts.push_back(entry.substr(start));
    return parts;
}

void ChooseFamily(std::string& family, std::string_view line) {
    for (const GameName& name : kGameNames)
        if (Contains(line, name.game))
            family = name.family;
}

// A rule that will not run as the file means it: a game without a family of
// ours (its rule gives empty lists), or a Life or Generations rule that does not
// read as a whole.
void CheckRule(std::string_view game, std::string_view family, std::string_view rule,
               FileProblems* problems) {
    if (!problems || rule.empty())
        return;
    const bool known = family == kFamilyLife || family == kFamilyGenerations ||
                       family == kFamilyVote || family == kFamilyWLife;
    if (!known)
        problems->push_back("The game \"" + std::string(game) +
                            "\" is not one Zentorix runs; its rule \"" + std::string(rule) +
                            "\" left the birth and survival lists empty.");
    else if ((family == kFamilyLife || family == kFamilyGenerations) && !ReadOldLifeRule(rule))
        problems->push_back("The rule \"" + std::string(rule) + "\" could not be read whole.");
}

}  // namespace

void ReadMCellFile(World& world, Settings& settings, const std::filesystem::path& file,
                   PanelSize panel, FileProblems* problems) {
    const auto text = PatternText::Read(file);
    if (!text)
        return;
    BeginPatternLoad(world, settings, file, "Mcell 4.20");

    CellDataDecoder decoder(world);
    std::string ruleText;
    std::string family;
    std::string game;
    text->ForEachLine([&](std::string_view line) {
        if (StartsWith(line, "#WRAP")) {
            settings.EnableTOR = Contains(line, "1");
        } else if (StartsWith(line, "#RULE")) {
            ruleText += FromColumn(line, 7);
        } else if (StartsWith(line, "#SPEED")) {
            settings.SpeedMain = ToInteger(FromColumn(line, 7));
        } else if (StartsWith(line, "#BOARD")) {
            ApplyBoard(world, line);
        } else if (StartsWith(line, "#GAME")) {
            ChooseFamily(family, line);
            game = FromColumn(line, 7);
        } else if (StartsWith(line, "#D ")) {
            world.Description.emplace_back(
                FirstCharacters(FromColumn(line, 4), kMaxDescriptionChars));
        } else if (StartsWith(line, "#L ") && line.size() >= 4) {
            decoder.Line(FromColumn(line, 4));
        }
    });
    decoder.Finish();

    PlacePattern(world, settings, decoder.LastColumn(), decoder.LastRow(), true, panel);
    CheckRule(game, family, ruleText, problems);
    ParseRuleString(world, ruleText, family, settings.LoadRulesSelector);
}

std::filesystem::path WriteMCellFile(const World& world, const Settings& settings,
                                     const std::filesystem::path& file) {
    std::filesystem::path path = file;
    path.replace_extension(".mcl");

    TextBuilder out;
    out.Line("#MCell 4.20");
    out.Line("#GAME Weighted Life");
    out.Line("#RULE " + RuleToString(world, 0, 0));
    out.Line("#BOARD " + std::to_string(world.FieldWidth()) + "x" +
             std::to_string(world.FieldHeight()));
    out.Line(settings.EnableTOR ? "#WRAP 1" : "#WRAP 0");
    // A description line holding a line break would start a line of its own
    // (even a cell data line) in the file: each part gets its own "#D ".
    for (const std::string& entry : world.Description)
        for (const std::string_view part : DescriptionParts(entry))
            out.Line("#D " + std::string(part));
    WriteFieldSection(out, world, Layer::Main, true);
    out.WriteTo(path);
    return path;
}

}  // namespace zentorix
