#include "formats/key_lines.h"

#include "engine/format_error.h"

namespace zentorix {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the 1-based character position; the text's size when the
// position lies past the end.
std::size_t CharacterOffset(std::string_view text, std::size_t column) {
    std::size_t offset = 0;
    for (std::size_t skipped = 1; skipped < column && offset < text.size(); ++skipped) {
        ++offset;
        while (offset < text.size() && IsContinuationByte(text[offset]))
            ++offset;
    }
    return offset;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string_view FromCharacter(std::string_view line, std::size_t column) {
    if (column == 0)
        return line;
    return line.substr(CharacterOffset(line, column));
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    return text.substr(0, CharacterOffset(text, count + 1));
}

char CharacterAt(std::string_view line, std::size_t column) {
    const std::string_view rest = FromCharacter(line, column);
    return rest.empty() ? '\0' : rest.front();
}

std::int32_t KeyInteger(std::string_view line, std::size_t column) {
    std::string_view value = FromCharacter(line, column);
    while (!value.empty() && IsBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && IsBlank(value.back()))
        value.remove_suffix(1);
    return ToInteger(value);
}

std::string KeyText(std::string_view line, std::size_t maxCharacters) {
    return std::string(FirstCharacters(FromCharacter(line, kValueColumn), maxCharacters));
}

std::string OneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

void AppendRuleLines(TextBuilder& out, std::string_view prefix, std::string_view text) {
    if (text.empty())
        return;
    std::string line;
    for (std::size_t start = 0;; start += kRulePieceLength) {
        line.assign(prefix);
        line.append(text.substr(start, kRulePieceLength));
        out.Line(line);
        // A last piece of exactly 77 characters is followed by an empty one.
        if (text.size() - start < kRulePieceLength)
            break;
    }
}

}  // namespace zentorix
