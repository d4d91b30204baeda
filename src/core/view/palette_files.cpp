#include "view/palette_files.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <system_error>

#include "formats/text_file.h"
#include "model/colour_model.h"
#include "view/builtin_palettes.h"

namespace zentorix {

namespace {

// A colour file is a few lines; anything far larger is not one, and reading it
// whole would only waste memory.
constexpr std::uintmax_t kMaxColourFileBytes = 1 << 20;

std::filesystem::path FromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string ToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PaletteFilePath(const std::filesystem::path& colourFolder,
                                      std::string_view name, std::string_view extension) {
    return colourFolder / FromUtf8(PaletteFileName(name, extension));
}

void Save(const std::filesystem::path& colourFolder, std::string_view name,
          std::string_view extension, const std::string& text) {
    if (!IsPlainPaletteName(name))
        throw FileError("'" + std::string(name) + "' cannot name a file in the colour folder");
    WriteFileAtomic(PaletteFilePath(colourFolder, name, extension), text);
}

template <typename Apply>
bool Load(const std::filesystem::path& colourFolder, std::string_view name,
          std::string_view extension, Apply apply) {
    if (!IsPlainPaletteName(name))
        return false;
    const auto path = PaletteFilePath(colourFolder, name, extension);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxColourFileBytes)
        throw FileError(ToUtf8(path) + " is too large to be a colour file");
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return false;
    apply(*bytes);
    return true;
}

// The list entry of a file, or nothing when the file is not of this kind. The
// entry is the name without the extension unless that would itself end with the
// extension ("a.col.col"), whose entry keeps the whole name so that it loads the
// same file.
std::optional<std::string> EntryName(const std::string& fileName, std::string_view extension) {
    if (fileName.size() <= extension.size() || !fileName.ends_with(extension))
        return std::nullopt;
    std::string entry = fileName.substr(0, fileName.size() - extension.size());
    if (entry.ends_with(extension))
        return fileName;
    return entry;
}

}  // namespace

std::string PaletteFileName(std::string_view name, std::string_view extension) {
    std::string file(name);
    if (!file.ends_with(extension))
        file.append(extension);
    return file;
}

bool IsPlainPaletteName(std::string_view name) {
    return !name.empty() && name.find_first_of(std::string_view("/\\\0", 3)) == name.npos &&
           name != "." && name != "..";
}

std::string ColourSchemeFileText(const ColourModel& colours, std::string_view name) {
    TextBuilder text;
    text.Line(kColourSchemeHeader);
    text.Line("Name - " + std::string(name));
    text.Line(FormatPaletteLine(colours, kSchemeLineKind));
    return text.Text();
}

std::string GenPaletteFileText(const ColourModel& colours, std::string_view name) {
    TextBuilder text;
    text.Line(kGenPaletteHeader);
    text.Line("Name - " + std::string(name));
    text.Line(FormatPaletteLine(colours, kCountLineKind));
    for (int row = 0; row < kGenPaletteFileRows; ++row)
        text.Line(FormatPaletteLine(colours, row));
    return text.Text();
}

bool PaletteFileExists(const std::filesystem::path& colourFolder, std::string_view name,
                       std::string_view extension) {
    if (!IsPlainPaletteName(name))
        return false;
    std::error_code ec;
    return std::filesystem::exists(PaletteFilePath(colourFolder, name, extension), ec);
}

void SaveColourScheme(const ColourModel& colours, const std::filesystem::path& colourFolder,
                      std::string_view name) {
    Save(colourFolder, name, kColourSchemeExtension, ColourSchemeFileText(colours, name));
}

void SaveGenPalette(const ColourModel& colours, const std::filesystem::path& colourFolder,
                    std::string_view name) {
    Save(colourFolder, name, kGenPaletteExtension, GenPaletteFileText(colours, name));
}

namespace {

// The lines that begin with the prefix, then the state colours once.
void ApplyLinesWith(ColourModel& colours, std::string_view bytes, std::string_view prefix) {
    bool read = false;
    for (const std::string& line : SplitLines(DecodeText(bytes)))
        if (StartsWith(line, prefix)) {
            ReadPaletteLine(colours, line);
            read = true;
        }
    if (read)
        colours.RebuildStateColours();
}

}  // namespace

void ApplyColourSchemeText(ColourModel& colours, std::string_view bytes) {
    ApplyLinesWith(colours, bytes, "#CX ");
}

void ApplyGenPaletteText(ColourModel& colours, std::string_view bytes) {
    ApplyLinesWith(colours, bytes, "#C");
}

bool LoadColourScheme(ColourModel& colours, const std::filesystem::path& colourFolder,
                      std::string_view name) {
    return Load(colourFolder, name, kColourSchemeExtension,
                [&](std::string_view bytes) { ApplyColourSchemeText(colours, bytes); });
}

bool LoadGenPalette(ColourModel& colours, const std::filesystem::path& colourFolder,
                    std::string_view name) {
    return Load(colourFolder, name, kGenPaletteExtension,
                [&](std::string_view bytes) { ApplyGenPaletteText(colours, bytes); });
}

PaletteFileNames ListPaletteFiles(const std::filesystem::path& colourFolder) {
    PaletteFileNames names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(colourFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code statusError;
        if (!it->is_regular_file(statusError))
            continue;
        const std::string fileName = ToUtf8(it->path().filename());
        if (auto entry = EntryName(fileName, kColourSchemeExtension))
            names.ColourSchemes.push_back(std::move(*entry));
        else if (auto entry = EntryName(fileName, kGenPaletteExtension))
            names.GenPalettes.push_back(std::move(*entry));
    }
    std::sort(names.ColourSchemes.begin(), names.ColourSchemes.end());
    std::sort(names.GenPalettes.begin(), names.GenPalettes.end());
    return names;
}

bool SelectColourScheme(ColourModel& colours, const std::filesystem::path& colourFolder, int index,
                        std::string_view entry) {
    if (index >= 0 && index < static_cast<int>(BuiltInColourSchemes().size()))
        return ApplyBuiltInColourScheme(colours, index);
    return LoadColourScheme(colours, colourFolder, entry);
}

bool SelectGenPalette(ColourModel& colours, const std::filesystem::path& colourFolder, int index,
                      std::string_view entry) {
    if (index >= 0 && index < static_cast<int>(BuiltInGenPalettes().size()))
        return ApplyBuiltInGenPalette(colours, index);
    return LoadGenPalette(colours, colourFolder, entry);
}

std::string DefaultPaletteName(int listEntryCount) {
    return "ColorPalette" + std::to_string(listEntryCount);
}

}  // namespace zentorix
