// RLE import: the community's run-length notation decoded into the staging grid
// and centred on the field.
#include "formats/rle_file.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/rule_text.h"
#include "formats/field_section.h"
#include "formats/pattern_load.h"
#include "formats/pattern_text.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

// Comment and name lines; like every other "#" line they never hold cells.
bool IsCommentLine(std::string_view line) {
    return StartsWith(line, "#C") || StartsWith(line, "#c") || StartsWith(line, "#N") ||
           StartsWith(line, "#O");
}

std::string_view SkipBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// The rule text after "rule =" (also written "rule="), or nothing when the line
// has no rule entry.
std::optional<std::string_view> RuleEntry(std::string_view line) {
    for (std::size_t at = line.find("rule"); at != std::string_view::npos;
         at = line.find("rule", at + 1)) {
        const std::string_view rest = SkipBlanks(line.substr(at + 4));
        if (StartsWith(rest, "="))
            return SkipBlanks(rest.substr(1));
    }
    return std::nullopt;
}

// The header line: "x = 3, y = 3, ..." and its compact form "x=3,y=3,...".
bool IsHeaderLine(std::string_view line) {
    if (Contains(line, "x =") || Contains(line, "y ="))
        return true;
    const std::string_view s = SkipBlanks(line);
    return StartsWith(s, "x") && StartsWith(SkipBlanks(s.substr(1)), "=");
}

// The decoder's state is kept across lines; counts and positions saturate far
// beyond any grid, so no file can make them overflow.
class RleDecoder {
  public:
    explicit RleDecoder(World& world) : world_(world) {}

    // Decodes one line of cell data; gives the text from a "!" on, when it holds one.
    std::optional<std::string_view> Decode(std::string_view line) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '!') {
                ended_ = true;
                CompleteSize();
                return line.substr(i);
            }
            if (c >= '0' && c <= '9') {
                count_ = std::min(count_ * 10 + (c - '0'), kCountLimit);
                continue;
            }
            // A state prefix "p".."y" takes the count; the letter after it completes
            // the state, anything else drops the prefix (and the count with it).
            const std::int32_t prefix = prefix_;
            prefix_ = 0;
            const std::int64_t n = count_ == 0 ? 1 : count_;
            count_ = 0;
            if (c >= 'A' && c <= 'X') {
                Run(prefix ? prefixCount_ : n, prefix + (c - 'A' + 1));
            } else if (c >= 'p' && c <= 'y') {
                prefix_ = 24 * (c - 'p' + 1);
                prefixCount_ = n;
            } else if (c == 'b' || c == 'o' || c == '.') {
                Run(n, c == 'o' ? 1 : 0);
            } else if (c == '$') {
                // A row end with a count adds empty rows; the pattern is as wide
                // as its widest row.
                lastColumn_ = std::max(lastColumn_, column_ + 1);
                row_ = std::min(row_ + n, kCountLimit);
                lastRow_ = row_;
                column_ = 0;
            }
        }
        return std::nullopt;
    }

    // The size at the end of the data: as at a row end that stays in its row.
    void CompleteSize() {
        lastColumn_ = std::max(lastColumn_, column_ + 1);
        lastRow_ = std::max(lastRow_, row_);
    }

    bool Ended() const { return ended_; }
    std::int64_t LastColumn() const { return lastColumn_; }
    std::int64_t LastRow() const { return lastRow_; }

  private:
    void Run(std::int64_t n, std::int32_t state) {
        SetPatternRun(world_, column_, n, row_, state);
        column_ = std::min(column_ + n, kCountLimit);
    }

    World& world_;
    std::int64_t column_ = 0;
    std::int64_t row_ = 1;  // one empty row above the pattern
    std::int64_t count_ = 0;
    std::int32_t prefix_ = 0;
    std::int64_t prefixCount_ = 1;
    std::int64_t lastColumn_ = 0;
    std::int64_t lastRow_ = 0;
    bool ended_ = false;
};

}  // namespace

void ReadRleFile(World& world, Settings& settings, const std::filesystem::path& file,
                 PanelSize panel, FileProblems* problems) {
    const auto text = PatternText::Read(file);
    if (!text)
        return;
    BeginPatternLoad(world, settings, file, "RLE-file");
    RleDecoder decoder(world);
    // Only the last rule entry counts; reading each would make a file of many
    // headers slow for nothing.
    std::optional<std::string> ruleText, ownRule;
    text->ForEachLine([&](std::string_view line) {
        const bool hashLine = StartsWith(line, "#");
        if (StartsWith(line, kOwnRuleComment)) {
            ownRule = std::string(line.substr(kOwnRuleComment.size()));
            return;
        }
        // The place a writer gave the pattern; ours centres it and writes a new one.
        if (StartsWith(line, "#CXRLE"))
            return;
        const auto rule = hashLine ? std::nullopt : RuleEntry(line);
        if (IsCommentLine(line) || rule || decoder.Ended())
            world.Description.emplace_back(FromColumn(line, 4));
        if (rule)
            ruleText = std::string(*rule);
        if (hashLine || decoder.Ended() || IsHeaderLine(line))
            return;
        if (const auto tail = decoder.Decode(line))
            world.Description.emplace_back(*tail);
    });
    if (ownRule) {
        ParseRuleString(world, *ownRule, kFamilyZentorix, settings.LoadRulesSelector);
    } else if (ruleText && ReadOldLifeRule(*ruleText)) {
        ParseRuleString(world, *ruleText, kFamilyOldLife, settings.LoadRulesSelector);
    } else if (ruleText && problems) {
        problems->push_back("The rule \"" + *ruleText +
                            "\" could not be read; the rules in use were kept.");
    }
    // A file that lost its final "!" still places its last row.
    if (!decoder.Ended())
        decoder.CompleteSize();
    PlacePattern(world, settings, PatternExtent(decoder.LastColumn()),
                 PatternExtent(decoder.LastRow()), true, panel);
}

}  // namespace zentorix
