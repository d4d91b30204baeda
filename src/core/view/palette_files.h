#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/colour_model.h"

namespace zentorix {

// Colour-scheme files (".col": a scheme line) and generation-palette files
// (".gen": the count line and the rows of entries 1..128) in the colour folder.
// A name is a plain file name inside that folder, with or without its extension.

inline constexpr std::string_view kColourSchemeExtension = ".col";
inline constexpr std::string_view kGenPaletteExtension = ".gen";
inline constexpr std::string_view kColourSchemeHeader = "File of color (main) for Zentorix";
inline constexpr std::string_view kGenPaletteHeader = "File of color (generation) for Zentorix";
// A generation-palette file holds rows 0..15 only, whatever the count in use.
inline constexpr int kGenPaletteFileRows = 16;

// The file name for a name: the extension is appended unless the name already
// ends with it.
std::string PaletteFileName(std::string_view name, std::string_view extension);

// Whether a name can name a file inside the colour folder (not empty, no folder
// separators).
bool IsPlainPaletteName(std::string_view name);

// The whole text of each file kind, lines ended by CR LF.
std::string ColourSchemeFileText(const ColourModel& colours, std::string_view name);
std::string GenPaletteFileText(const ColourModel& colours, std::string_view name);

// Whether saving under this name would replace a file (the caller asks first).
bool PaletteFileExists(const std::filesystem::path& colourFolder, std::string_view name,
                       std::string_view extension);

// Write the file atomically. Throws FileError when the name is not a plain name
// or the file cannot be written; an old file of that name is then untouched.
void SaveColourScheme(const ColourModel& colours, const std::filesystem::path& colourFolder,
                      std::string_view name);
void SaveGenPalette(const ColourModel& colours, const std::filesystem::path& colourFolder,
                    std::string_view name);

// Apply a file's content: a scheme file's lines that begin "#CX ", a palette
// file's lines that begin "#C". Everything else (the header lines, anything added
// by hand) is skipped. Bytes may be UTF-8 or Windows-1251, lines CR LF or LF.
void ApplyColourSchemeText(ColourModel& colours, std::string_view bytes);
void ApplyGenPaletteText(ColourModel& colours, std::string_view bytes);

// Read a file of the colour folder and apply it. A missing file (or a name that
// is not a plain name) changes nothing and gives false. A file too large to be a
// colour file raises FileError and changes nothing.
bool LoadColourScheme(ColourModel& colours, const std::filesystem::path& colourFolder,
                      std::string_view name);
bool LoadGenPalette(ColourModel& colours, const std::filesystem::path& colourFolder,
                    std::string_view name);

// The list entries for the files of the colour folder, sorted by name: each
// file's name without its extension, so that loading the entry finds the file.
struct PaletteFileNames {
    std::vector<std::string> ColourSchemes;
    std::vector<std::string> GenPalettes;
};
PaletteFileNames ListPaletteFiles(const std::filesystem::path& colourFolder);

// Choosing an entry of the scheme list or the palette list: the built-in ones
// come first, any later entry names a file of the colour folder. Returns whether
// anything was applied.
bool SelectColourScheme(ColourModel& colours, const std::filesystem::path& colourFolder, int index,
                        std::string_view entry);
bool SelectGenPalette(ColourModel& colours, const std::filesystem::path& colourFolder, int index,
                      std::string_view entry);

// The name a save takes when its box is empty: "ColorPalette" and the number of
// entries in that list.
std::string DefaultPaletteName(int listEntryCount);

}  // namespace zentorix
