// Palette lines and colour files of any content (the first byte picks lines,
// scheme text, palette text, or a scheme or palette file loaded from the colour
// folder) must be read without reaching outside the colour tables; whatever was read must write
// back as lines of the fixed widths that read again to the same colours.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/text_file.h"
#include "fuzz_pattern_file.h"
#include "model/colour_model.h"
#include "view/palette_files.h"

namespace {

bool SameColours(const zentorix::ColourModel& a, const zentorix::ColourModel& b) {
    return a.CellColour == b.CellColour && a.BackgroundColour == b.BackgroundColour &&
           a.GridColour == b.GridColour && a.BigGridColour == b.BigGridColour &&
           a.BirthColour == b.BirthColour && a.DeadColour == b.DeadColour &&
           a.ShowBirthCells == b.ShowBirthCells && a.ShowDeadCells == b.ShowDeadCells &&
           a.ColorOn == b.ColorOn && a.ColorMode == b.ColorMode &&
           a.GenColourCount == b.GenColourCount && a.GenPalette == b.GenPalette &&
           a.StateColour == b.StateColour;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    using fuzz::Check;
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // The start-up colours, built once: building them costs more than an input.
    static const ColourModel startUp;
    ColourModel colours = startUp;
    const auto& folder = fuzz::WorkFolder();
    switch (data[0] % 5) {
        case 0:
            for (const std::string& line : SplitLines(bytes))
                ApplyPaletteLine(colours, line);
            break;
        case 1:
            ApplyColourSchemeText(colours, bytes);
            break;
        case 2:
            ApplyGenPaletteText(colours, bytes);
            break;
        case 3:
            fuzz::WriteFile(folder / "input.col", bytes);
            Check(LoadColourScheme(colours, folder, "input"));
            break;
        default:
            fuzz::WriteFile(folder / "input.gen", bytes);
            Check(LoadGenPalette(colours, folder, "input"));
            break;
    }

    Check(colours.GenColourCount >= 1 && colours.GenColourCount <= kPaletteSize);
    ColourModel rebuilt = colours;
    rebuilt.RebuildStateColours();
    Check(rebuilt.StateColour == colours.StateColour);

    ColourModel copy = startUp;
    for (int kind = kSchemeLineKind; kind < kPaletteRowCount; ++kind) {
        const std::string line = FormatPaletteLine(colours, kind);
        const std::size_t width = kind == kSchemeLineKind ? 56 : kind == kCountLineKind ? 7 : 68;
        Check(line.size() == width);
        ApplyPaletteLine(copy, line);
    }
    Check(SameColours(colours, copy));

    // The files carry the scheme, the count and entries 1..128.
    ColourModel fromFiles = colours;
    fromFiles.GenPalette.fill(1);
    ApplyColourSchemeText(fromFiles, ColourSchemeFileText(colours, "x"));
    ApplyGenPaletteText(fromFiles, GenPaletteFileText(colours, "x"));
    for (int k = 1; k <= kPaletteSize; ++k)
        Check(fromFiles.GenPalette[k] == (k <= 128 ? colours.GenPalette[k] : 1));
    Check(fromFiles.GenColourCount == colours.GenColourCount);
    return 0;
}
