// RLE export: the Main Field in the notation other simulators read, two-state
// for rules without history, one letter per state for rules with it.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/rule_text.h"
#include "formats/pattern_text.h"
#include "formats/rle_file.h"
#include "formats/text_file.h"

namespace zentorix {

namespace {

// Other simulators expect lines of at most 70 characters.
constexpr std::size_t kRleLineLimit = 70;
// The highest state the multi-state notation has a symbol for ("yO").
constexpr std::int32_t kHighestRleState = 255;

// The digits of a list in ascending order, each once.
std::string Digits(const std::vector<std::int32_t>& list) {
    std::string out;
    for (int d = 0; d <= 8; ++d)
        if (std::find(list.begin(), list.end(), d) != list.end())
            out += static_cast<char>('0' + d);
    return out;
}

// "B3/S23" (with "V" or "H" for those neighbourhoods) for a two-state rule,
// "23/3/4" (survival/birth/states) with history; empty when the rule has no
// such form or more states than the letters can name.
std::string RleRuleText(const RuleSet& rules) {
    const auto kind = CountNeighbourhood(rules);
    if (!kind)
        return {};
    std::string text;
    if (!rules.History) {
        text.append("B").append(Digits(rules.BirthList));
        text.append("/S").append(Digits(rules.SurvivalList));
        if (*kind != 'M')
            text += *kind;
    } else if (*kind == 'M' && rules.HistoryRange <= kHighestRleState + 1) {
        text.append(Digits(rules.SurvivalList)).append("/");
        text.append(Digits(rules.BirthList)).append("/");
        text.append(std::to_string(rules.HistoryRange));
    }
    return text;
}

// "." and "A".."X" for states 0..24; a prefix "p".."y" before the letter above.
void AppendStateSymbol(std::string& out, std::int32_t state) {
    if (state == 0) {
        out += '.';
    } else if (state <= 24) {
        out += static_cast<char>('A' + state - 1);
    } else {
        out += static_cast<char>('p' + (state - 25) / 24);
        out += static_cast<char>('A' + (state - 25) % 24);
    }
}

// Collects tokens into lines of at most kRleLineLimit characters; a token is never
// split, so a count stays with its symbol.
class RleLines {
  public:
    explicit RleLines(TextBuilder& out) : out_(out) {}
    void Token(std::string_view token) {
        if (!line_.empty() && line_.size() + token.size() > kRleLineLimit) {
            out_.Line(line_);
            line_.clear();
        }
        line_ += token;
    }
    void Finish() {
        Token("!");
        out_.Line(line_);
    }

  private:
    TextBuilder& out_;
    std::string line_;
};

}  // namespace

std::string RleText(const World& world, FileProblems* problems) {
    const RuleSet& rules = world.Rules[0];
    const bool multiState = rules.History;
    // The symbol class of a cell: live or empty, or its state within the notation.
    auto symbolOf = [&](std::int32_t state) -> std::int32_t {
        if (!multiState)
            return state > 0 ? 1 : 0;
        return std::clamp(state, 0, kHighestRleState);
    };

    // The bounding box of the live cells, so that a pattern reopens at its own
    // size rather than the field's.
    int x0 = world.FieldWidth() + 1, x1 = -1, y0 = world.FieldHeight() + 1, y1 = -1;
    int beyondLetters = 0;
    for (int y = 0; y <= world.FieldHeight(); ++y)
        for (int x = 0; x <= world.FieldWidth(); ++x) {
            const std::int32_t state = world.MainField.at(x, y);
            if (symbolOf(state) == 0)
                continue;
            beyondLetters += multiState && state > kHighestRleState;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y);
        }

    // Other simulators read RLE with LF line ends; some stop at a CR in the data.
    TextBuilder text("\n");
    // A description line that holds a line end stays a comment line.
    for (const std::string& description : world.Description) {
        if (description.empty())
            text.Line("#C ");
        ForEachTextLine(description,
                        [&](std::string_view line) { text.Line("#C " + std::string(line)); });
    }
    const std::string rule = RleRuleText(rules);
    if (rule.empty()) {
        text.Line(std::string(kOwnRuleComment) + FormatRuleTokens(rules));
        if (problems)
            problems->push_back(
                "RLE cannot name the rule; it is kept in a comment that only Zentorix reads.");
    }
    if (beyondLetters > 0 && problems)
        problems->push_back(std::to_string(beyondLetters) +
                            " cells with states above 255 were saved in state 255.");
    if (x1 >= 0)
        text.Line("#CXRLE Pos=" + std::to_string(x0) + "," + std::to_string(y0));
    const bool empty = x1 < 0;
    std::string header = "x = " + std::to_string(empty ? 0 : x1 - x0 + 1) +
                         ", y = " + std::to_string(empty ? 0 : y1 - y0 + 1);
    if (!rule.empty())
        header += ", rule = " + rule;
    text.Line(header);

    RleLines lines(text);
    std::string token;
    auto emit = [&](std::int32_t symbol, int length, int& pendingRowEnds) {
        token.clear();
        if (pendingRowEnds > 0) {
            if (pendingRowEnds > 1)
                token += std::to_string(pendingRowEnds);
            token += '$';
            lines.Token(token);
            token.clear();
            pendingRowEnds = 0;
        }
        if (length > 1)
            token += std::to_string(length);
        if (multiState)
            AppendStateSymbol(token, symbol);
        else
            token += symbol ? 'o' : 'b';
        lines.Token(token);
    };

    int pendingRowEnds = 0;
    for (int y = y0; y <= y1; ++y) {
        std::int32_t runSymbol = symbolOf(world.MainField.at(x0, y));
        int runLength = 0;
        for (int x = x0; x <= x1; ++x) {
            const std::int32_t symbol = symbolOf(world.MainField.at(x, y));
            if (symbol == runSymbol) {
                ++runLength;
                continue;
            }
            emit(runSymbol, runLength, pendingRowEnds);
            runSymbol = symbol;
            runLength = 1;
        }
        // Empty cells at a row's end are left out.
        if (runSymbol != 0)
            emit(runSymbol, runLength, pendingRowEnds);
        ++pendingRowEnds;
    }
    lines.Finish();
    return text.Text();
}

std::filesystem::path WriteRleFile(const World& world, const std::filesystem::path& file,
                                   FileProblems* problems) {
    std::filesystem::path out = file;
    out.replace_extension(".rle");
    WriteFileAtomic(out, RleText(world, problems));
    return out;
}

}  // namespace zentorix
