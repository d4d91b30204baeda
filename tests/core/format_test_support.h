#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "formats/file_problems.h"
#include "formats/text_file.h"
#include "rules/rule_editor.h"

namespace zentorix::test {

using Lines = std::vector<std::string>;
using Sums = std::vector<std::int32_t>;
using Sizes = std::vector<std::size_t>;
using States = std::vector<std::array<int, 3>>;

// The live cells of a layer where they lie, as (x, y, state).
inline States Staged(const StateField& field) {
    States cells;
    for (const auto& [x, y] : AllLive(field))
        cells.push_back({x, y, field.at(x, y)});
    return cells;
}

// The live cells of a layer as "x,y" (state 1) or "x,y=state", column by column.
inline std::string CellText(const StateField& field) {
    std::ostringstream text;
    for (const auto& [x, y, state] : Staged(field)) {
        text << (text.tellp() ? " " : "") << x << ',' << y;
        if (state != 1)
            text << '=' << state;
    }
    return text.str();
}

// Sets cells of a layer written as CellText writes them: "x,y" (state 1) or "x,y=state".
inline void Put(StateField& field, const std::string& cells) {
    std::istringstream in(cells);
    for (std::string cell; in >> cell;) {
        int x = 0, y = 0, state = 1;
        std::sscanf(cell.c_str(), "%d,%d=%d", &x, &y, &state);
        field.at(x, y) = state;
    }
}

// The message of what `act` throws; "none" when it throws nothing.
template <class Act>
std::string ErrorOf(Act&& act) {
    try {
        act();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "none";
}

// Little-endian 32-bit words, as the binary formats store their numbers.
inline std::string Words(std::initializer_list<std::int64_t> values) {
    std::string out;
    for (const std::int64_t v : values)
        for (int shift = 0; shift < 32; shift += 8)
            out += static_cast<char>((static_cast<std::uint32_t>(v) >> shift) & 0xFF);
    return out;
}

// A rule set as "B3,6/S2,3", with "/H<states>" while history is on.
inline std::string RuleText(const RuleSet& rules) {
    std::string text;
    for (const auto& [head, sums] :
         {std::pair("B", &rules.BirthList), {"/S", &rules.SurvivalList}}) {
        text += head;
        for (std::size_t i = 0; i < sums->size(); ++i)
            text.append(i ? "," : "").append(std::to_string((*sums)[i]));
    }
    if (rules.History)
        text.append("/H").append(std::to_string(rules.HistoryRange));
    return text;
}

// The lengths of the lines that begin with `prefix`.
inline std::vector<std::size_t> LineSizes(const Lines& lines, std::string_view prefix) {
    std::vector<std::size_t> sizes;
    for (const std::string& line : lines)
        if (StartsWith(line, prefix))
            sizes.push_back(line.size());
    return sizes;
}

// Lines joined by "|", as one value to compare.
inline std::string Joined(const Lines& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text.append(i ? "|" : "").append(lines[i]);
    return text;
}

// Sets the field's width and height.
inline void SetFieldSize(World& world, int width, int height) {
    world.SetFieldWidth(width);
    world.SetFieldHeight(height);
}

// A folder for the files of a test, a world and its settings to read them into.
struct FileTest : ::testing::Test {
    TempFolder dir;
    World world;
    Settings settings;
    FileProblems problems;
};

}  // namespace zentorix::test
