#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/text_file.h"

namespace zentorix {

// The column at which a key line's value starts (the key is padded to 22).
inline constexpr std::size_t kValueColumn = 23;
// Rule text is stored in pieces of this many characters, one piece a line.
inline constexpr std::size_t kRulePieceLength = 77;

// The text from the 1-based character position on, counting UTF-8 characters
// (a file decoded from an 8-bit code page may hold letters before the value).
std::string_view FromCharacter(std::string_view line, std::size_t column);
// At most the first count characters of the text, never cutting a character.
std::string_view FirstCharacters(std::string_view text, std::size_t count);
// The character at the 1-based position, or 0 past the end.
char CharacterAt(std::string_view line, std::size_t column);

// The integer value of a key line: the text from the column on, blanks around it
// ignored. The whole text must be a number, so a value as wide as the writer ever
// makes reads back whole; anything else raises FormatError naming the text.
std::int32_t KeyInteger(std::string_view line, std::size_t column = kValueColumn);
// A switch is on when the line holds a "1" anywhere.
inline bool KeyFlag(std::string_view line) {
    return Contains(line, "1");
}
inline std::string FlagText(bool on) {
    return on ? "1" : "0";
}
// A text value: the rest of the line from the value column, at most maxCharacters.
std::string KeyText(std::string_view line, std::size_t maxCharacters);
// A value written on one line: line breaks inside it are dropped.
std::string OneLine(std::string_view text);

// Writes rule text as lines of the prefix and consecutive 77-character pieces.
// Empty text writes nothing; text whose length is a multiple of 77 ends with a
// line that holds the prefix alone.
void AppendRuleLines(TextBuilder& out, std::string_view prefix, std::string_view text);

}  // namespace zentorix
