#pragma once

#include <filesystem>
#include <string_view>

#include "formats/file_problems.h"
#include "formats/pattern_load.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// The description line that carries a rule the "#R" line cannot: our own token text.
inline constexpr std::string_view kOwnRuleLine = "#D Zentorix rule ";

// Reads a Life 1.05 picture ("." and "*" rows in blocks placed by "#P x y",
// "#D" description lines, an optional "#R" survival/birth rule; Conway's rule
// without one; a kOwnRuleLine before all) into the layer chosen by
// LoadFieldSelector. A "#R" rule that does not read keeps the rules and adds a
// problem.
void ReadLife105File(World& world, Settings& settings, const std::filesystem::path& file,
                     PanelSize panel, FileProblems* problems = nullptr);

// Reads a Life 1.06 cell list (one "x y" or "x y state" per line) into the layer
// chosen by LoadFieldSelector; "#N" means Conway's rule, "#R" gives a rule.
void ReadLife106File(World& world, Settings& settings, const std::filesystem::path& file,
                     PanelSize panel, FileProblems* problems = nullptr);

// Writes the live Main Field cells' bounding box as a Life 1.05 picture with the
// rule editor's survival/birth digits and the description; a rule those digits
// cannot name adds a kOwnRuleLine and a problem. The extension becomes
// ".lif"; gives the path written. Throws FileError when the file cannot be
// written (the old file is then untouched).
std::filesystem::path WriteLife105File(const World& world, const std::filesystem::path& file,
                                       FileProblems* problems = nullptr);

// The rule line of a Life 1.05 file from the editor's digit boxes: "#R 23/3".
std::string Life105RuleLine(const RuleEditorState& editor);

}  // namespace zentorix
