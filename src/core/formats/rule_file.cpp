#include "formats/rule_file.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "engine/rule_text.h"
#include "formats/text_file.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

constexpr std::string_view kFileHeading = "File of rules for Zentorix";

// The heads of the information lines, each padded so that its value starts at
// character 13; reading recognises the bare key at the start of a line.
struct InfoHead {
    std::string_view key;
    std::string_view written;
};
constexpr std::array<InfoHead, 4> kInfoHeads = {{
    {"Name", "Name      - "},
    {"Character", "Character - "},
    {"CA Family", "CA Family - "},
    {"Author", "Author    - "},
}};
constexpr std::size_t kInfoValueColumn = 13;
constexpr std::size_t kAuthorLine = 3;

constexpr std::string_view kRuleHead = "#R0 ";
constexpr std::string_view kShortRuleHead = "#R ";
constexpr std::string_view kDescriptionHead = "#D ";

// The text from the 1-based character `column` on. Files are decoded to UTF-8, so
// characters are counted, not bytes: a name written in Cyrillic is never cut
// inside a letter.
std::string FromCharacter(std::string_view line, std::size_t column) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if ((c & 0xC0) == 0x80)
            continue;  // continuation byte
        if (++seen == column)
            return std::string(line.substr(i));
    }
    return {};
}

// A value written on one line: a line break inside it would start a new line
// that the reader takes for something else (or drops).
std::string OneLine(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

// The lines of a description entry; a line break inside it starts a new line, and
// an empty entry stays one (empty) line.
std::vector<std::string> DescriptionLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t end = LineEndLength(text, i)) {
            i += end - 1;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Rule information read from a file stays on screen through the rule change the
// reading causes. The flag goes back on however the reading ends: left off, no
// later rule change would clear the information again.
class KeepRuleInfo {
  public:
    explicit KeepRuleInfo(RuleEditorState& editor) : editor_(editor) {
        editor_.ClearRuleInfoOnChange = false;
    }
    ~KeepRuleInfo() { editor_.ClearRuleInfoOnChange = true; }
    KeepRuleInfo(const KeepRuleInfo&) = delete;
    KeepRuleInfo& operator=(const KeepRuleInfo&) = delete;

  private:
    RuleEditorState& editor_;
};

// Walks the lines without copying them: a large file costs no more than itself.
// Gives whether the file held a rule text.
bool ReadRuleFileText(World& world, std::string_view text) {
    RuleEditorState& editor = world.Editor;
    std::string rule;
    std::array<std::string, 4> own;  // the information lines the file fills
    ForEachTextLine(text, [&](std::string_view line) {
        bool info = false;
        for (std::size_t i = 0; i < kInfoHeads.size() && !info; ++i) {
            if (StartsWith(line, kInfoHeads[i].key)) {
                own[i] = editor.InfoMemo[i] = FromCharacter(line, kInfoValueColumn);
                info = true;
            }
        }
        if (info)
            return;
        if (StartsWith(line, kRuleHead))
            rule += line.substr(kRuleHead.size());
        else if (StartsWith(line, kShortRuleHead))
            rule += line.substr(kShortRuleHead.size());
        else if (StartsWith(line, kDescriptionHead))
            editor.RulesDescription.emplace_back(line.substr(kDescriptionHead.size()));
    });
    if (rule.empty())
        return false;
    // The rule-name look-up of the new rule fills what its entry knows; what the
    // author wrote wins over it, also when the rule text holds a bad number.
    const auto keepOwn = [&] {
        for (std::size_t i = 0; i < own.size(); ++i)
            if (!own[i].empty())
                editor.InfoMemo[i] = own[i];
        editor.RulesComboBoxText = editor.InfoMemo[0];
    };
    try {
        ParseRuleString(world, rule, kFamilyZentorix, 0);
    } catch (...) {
        keepOwn();
        throw;
    }
    keepOwn();
    return true;
}

// A name becomes a file in the rules folder and an entry of the rules list; a
// folder separator would put the file elsewhere, where the list never finds it.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("/\\\0", 3)) == name.npos;
}

}  // namespace

std::vector<std::string> RuleStringLines(std::string_view rule) {
    std::vector<std::string> lines;
    for (std::size_t at = 0;; at += kRuleLinePiece) {
        const std::string_view piece = rule.substr(std::min(at, rule.size()), kRuleLinePiece);
        lines.push_back(std::string(kRuleHead) + std::string(piece));
        if (piece.size() < kRuleLinePiece)
            break;
    }
    return lines;
}

std::string RuleFileText(const World& world, std::string_view name) {
    const RuleEditorState& editor = world.Editor;
    TextBuilder out;
    out.Line(kFileHeading);
    out.Line(std::string(kInfoHeads[0].written) + OneLine(name));
    for (std::size_t i = 1; i < kInfoHeads.size(); ++i)
        out.Line(std::string(kInfoHeads[i].written) + OneLine(editor.InfoMemo[i]));
    for (const std::string& line : RuleStringLines(RuleToString(world, 0, editor.EditedRuleSet)))
        out.Line(line);
    for (const std::string& text : editor.RulesDescription)
        for (const std::string& line : DescriptionLines(text))
            out.Line(std::string(kDescriptionHead) + line);
    return out.Text();
}

std::string RuleFileSaveName(RuleEditorState& editor, int listEntryCount) {
    if (editor.RulesComboBoxText.empty())
        editor.RulesComboBoxText = "Zentorix" + std::to_string(listEntryCount);
    return editor.RulesComboBoxText;
}

std::filesystem::path RuleFilePath(const std::filesystem::path& rulesFolder,
                                   std::string_view name) {
    return rulesFolder / (std::string(name) + std::string(kRuleFileExtension));
}

bool RuleFileExists(const std::filesystem::path& rulesFolder, std::string_view name) {
    std::error_code ec;
    return std::filesystem::exists(RuleFilePath(rulesFolder, name), ec);
}

void SaveRuleFile(const World& world, const std::filesystem::path& rulesFolder,
                  std::string_view name) {
    if (!IsPlainFileName(name))
        throw FileError("Cannot write the rule file '" + OneLine(name) +
                        "': the name must not be empty or hold a folder separator");
    std::error_code ec;
    std::filesystem::create_directories(rulesFolder, ec);
    WriteFileAtomic(RuleFilePath(rulesFolder, name), RuleFileText(world, name));
}

void ApplyRuleFileText(World& world, std::string_view bytes) {
    KeepRuleInfo keep(world.Editor);
    world.Editor.InfoMemo[kAuthorLine].clear();
    ReadRuleFileText(world, DecodeText(bytes));
}

void LoadRuleFile(World& world, const std::filesystem::path& rulesFolder, std::string_view name) {
    KeepRuleInfo keep(world.Editor);
    world.Editor.InfoMemo[kAuthorLine].clear();
    // The list names a file without its ".rul"; a name that already ends in it
    // is taken as the file's full name unless a file with ".rul" added exists.
    std::filesystem::path path = RuleFilePath(rulesFolder, name);
    std::error_code ec;
    if (EndsWith(name, kRuleFileExtension) && !std::filesystem::exists(path, ec))
        path = rulesFolder / std::string(name);
    const auto text = ReadTextFile(path);
    if (!text)
        return;
    // The list keeps showing the chosen file, so a save goes back to that file.
    if (ReadRuleFileText(world, *text))
        world.Editor.RulesComboBoxText = std::string(name);
}

}  // namespace zentorix
