#pragma once

#include <array>
#include <string>

namespace zentorix {

// The fixed texts of "stat.txt", numbered 1 to 26 as the language files number
// them ("StatStr[01]" ... "StatStr[26]"). Number 13 is empty by default.
struct StatTexts {
    std::array<std::string, 27> Text;  // [0] unused

    const std::string& operator[](int number) const { return Text[number]; }
    std::string& operator[](int number) { return Text[number]; }
};

// The built-in Ukrainian wording, which a language file may replace.
StatTexts DefaultStatTexts();

}  // namespace zentorix
