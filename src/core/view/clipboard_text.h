#pragma once

#include <string>
#include <string_view>

#include "model/world.h"

namespace zentorix {

// The clipboard exchanged with other programs as pattern text.

// The clipboard's block as RLE: the bounding box of its live cells and the rule
// of rule set 0 (in our own comment line when RLE cannot name it).
std::string ClipboardRleText(const World& world);

// Decodes pattern text from another program (RLE, Life 1.05 or 1.06, MCell,
// Life 2.0) into the clipboard only: the live cells' bounding box lands at its
// origin. Nothing else of the world changes, neither the field, nor its size,
// nor a rule or the description. Gives an empty string on success, else why the
// text could not be used (the clipboard is then unchanged). `isPattern` tells
// whether the text was taken for pattern text at all.
std::string DecodeClipboardText(World& world, std::string_view text, bool* isPattern = nullptr);

}  // namespace zentorix
