#include "formats/layer_files.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "engine/rule_text.h"
#include "formats/field_section.h"
#include "formats/key_lines.h"
#include "formats/local_time.h"
#include "formats/native_keys.h"
#include "formats/staging_copy.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

struct LayerLibrary {
    Layer layer;
    std::string_view extension;
    std::string_view firstLine;
    std::string_view stem;
    std::array<std::string_view, 4> keys;  // as written, in order; empty entries unused
    bool carriesRule;
};

constexpr std::array<LayerLibrary, 3> kLibraries = {{
    {Layer::EternalLife,
     ".bfld",
     "#File of Eternal Life Field for Zentorix",
     "EternalLifeField",
     {"#EternalLifeOn", "#EternalLifePeriod", "#EternalLifeIntensity", ""},
     false},
    {Layer::EternalDead,
     ".dfld",
     "#File of Eternal Dead Field for Zentorix",
     "EternalDeadField",
     {"#EternalDeadOn", "#EternalDeadPeriod", "#EternalDeadIntensity", ""},
     false},
    {Layer::OtherReality,
     ".rfld",
     "#File of Other Reality Field for Zentorix",
     "OtherRealityField",
     {"#OtherRealityOn", "#Synchronization", "#SpeedOtherReality", ""},
     true},
}};

const LayerLibrary* LibraryOf(Layer layer) {
    for (const LayerLibrary& library : kLibraries)
        if (library.layer == layer)
            return &library;
    return nullptr;
}

}  // namespace

std::string_view LayerFileExtension(Layer layer) {
    const LayerLibrary* library = LibraryOf(layer);
    return library ? library->extension : std::string_view{};
}

std::filesystem::path LayerFilePath(const ProgramFolder& folder, Layer layer,
                                    std::string_view name) {
    std::string file(name);
    file += LayerFileExtension(layer);
    return folder.Field() / file;
}

std::string DefaultLayerFileName(Layer layer, int entryCount) {
    const LayerLibrary* library = LibraryOf(layer);
    if (!library)
        return {};
    return std::string(library->stem) + std::to_string(entryCount);
}

std::filesystem::path SaveLayerFile(const World& world, const Settings& settings,
                                    const ProgramFolder& folder, Layer layer,
                                    std::string_view name) {
    const LayerLibrary* library = LibraryOf(layer);
    if (!library)
        return {};
    TextBuilder out;
    out.Line(library->firstLine);
    out.Line("#FileName " + std::string(name));
    out.Line("#DateTime " + FormatDateTime(CurrentLocalTime()));
    for (std::string_view written : library->keys)
        if (const NativeKey* key = FindNativeKey(written))
            WriteKey(out, *key, world, settings);
    if (library->carriesRule)
        AppendRuleLines(out, "#R1 ", RuleToString(world, 0, 1));
    WriteFieldSection(out, world, layer, true);

    const std::filesystem::path path = LayerFilePath(folder, layer, name);
    WriteFileAtomic(path, out.Text());
    return path;
}

bool LoadLayerFile(World& world, Settings& settings, const ProgramFolder& folder, Layer layer,
                   std::string_view name) {
    const LayerLibrary* library = LibraryOf(layer);
    if (!library)
        return false;
    const auto text = ReadTextFile(LayerFilePath(folder, layer, name));
    if (!text)
        return false;

    std::array<const NativeKey*, 5> keys{};
    std::size_t count = 0;
    for (std::string_view written : library->keys)
        if (const NativeKey* key = FindNativeKey(written))
            keys[count++] = key;
    if (library->carriesRule)
        keys[count++] = FindNativeKey("#FeedBack");

    NativeReadState state{world, settings};
    std::string rule;
    ForEachTextLine(*text, [&](std::string_view line) {
        for (std::size_t k = 0; k < count; ++k)
            if (Contains(line, keys[k]->ReadName()))
                keys[k]->apply(state, line);
        if (library->carriesRule && StartsWith(line, "#R1 "))
            rule += line.substr(4);
    });

    ReadFieldSectionText(world, *text, FieldSectionKey(layer));
    ReplaceLayerFromStaging(world, layer);
    if (!rule.empty())
        ParseRuleString(world, rule, kFamilyZentorix, 1);
    return true;
}

std::vector<std::string> ListLayerFiles(const ProgramFolder& folder, Layer layer) {
    std::vector<std::string> names;
    const std::string_view extension = LayerFileExtension(layer);
    if (extension.empty())
        return names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.Field(), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() == extension && it->is_regular_file(ec))
            names.push_back(path.stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CopyLayer(World& world, Layer from, Layer to) {
    const int ex = world.ExtentX(), ey = world.ExtentY();
    world.StagingGrid.CopyRect(world.LayerField(from), -3, -3, ex, ey);
    world.LayerField(to).CopyRect(world.StagingGrid, -3, -3, ex, ey);
}

void CopyFieldButtonClick(World& world, const Settings& settings) {
    Layer from, to;
    if (LayerFromIndex(settings.CopyFromComboBox, from) &&
        LayerFromIndex(settings.CopyToComboBox, to))
        CopyLayer(world, from, to);
}

}  // namespace zentorix
