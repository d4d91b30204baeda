#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "formats/file_problems.h"
#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The comment line that carries a rule the header cannot: our own token text.
inline constexpr std::string_view kOwnRuleComment = "#C Zentorix rule ";

// Reads a run-length encoded pattern ("x = .., y = .., rule = ..", runs of "b"/"."
// and "o", state letters "A".."X" and "pA".."yO", "$" row ends, a final "!") into
// the layer chosen by LoadFieldSelector, its rule into the set chosen by
// LoadRulesSelector and its comments into the description. A rule line that does
// not read as a whole keeps the rules and adds a problem. A missing file changes
// nothing.
void ReadRleFile(World& world, Settings& settings, const std::filesystem::path& file,
                 PanelSize panel, FileProblems* problems = nullptr);

// Writes the live cells of the Main Field (columns 0..W, rows 0..H) as RLE with
// the rule of rule set 0: their bounding box, its place in a "#CXRLE Pos=" line;
// two-state ("b", "o") unless the rule keeps history, then one letter per state.
// A rule the header cannot name goes into a kOwnRuleComment line and a problem.
// The extension becomes ".rle"; gives the path written. Throws FileError when the
// file cannot be written (the old file is then untouched).
std::filesystem::path WriteRleFile(const World& world, const std::filesystem::path& file,
                                   FileProblems* problems = nullptr);
// The text WriteRleFile writes, with LF line ends.
std::string RleText(const World& world, FileProblems* problems = nullptr);

}  // namespace zentorix
