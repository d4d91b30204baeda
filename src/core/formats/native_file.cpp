#include "formats/native_file.h"

#include <array>
#include <string>

#include "engine/rule_text.h"
#include "formats/field_section.h"
#include "formats/key_lines.h"
#include "formats/local_time.h"
#include "formats/native_keys.h"
#include "formats/staging_copy.h"
#include "formats/text_file.h"
#include "model/colour_model.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

// A description line longer than this is cut when read.
constexpr std::size_t kMaxDescriptionLine = 3000;
// The palette lines of "[Color Settings]": the scheme line, the count line, then
// the rows; a row the colour model has no line for is left out.
constexpr int kFirstPaletteLine = -2;
constexpr int kLastPaletteLine = 32;

constexpr std::array<Layer, 3> kLandscapeLayers = {Layer::EternalLife, Layer::EternalDead,
                                                   Layer::OtherReality};

void WriteKeys(TextBuilder& out, KeyGroup group, const World& world, const Settings& settings) {
    for (const NativeKey& key : NativeKeys(group))
        WriteKey(out, key, world, settings);
}

void WriteDescription(TextBuilder& out, const World& world) {
    for (const std::string& text : world.Description) {
        // A memo line never holds a line break; should one slip in, it becomes
        // a line of its own instead of breaking the file.
        if (text.empty())
            out.Line("#D ");
        ForEachTextLine(text,
                        [&](std::string_view piece) { out.Line("#D " + std::string(piece)); });
    }
}

void WriteFieldSections(TextBuilder& out, const World& world, const Settings& s, NativeKind kind) {
    const bool zlf = kind == NativeKind::Zlf, qsave = kind == NativeKind::Qsave;
    const bool atExit = kind == NativeKind::Ini && s.SaveFieldWhenExit;

    if (kind != NativeKind::Ini || atExit) {
        out.Line("[Main Field]");
        WriteFieldSection(out, world, Layer::Main, kind != NativeKind::Mini);
        out.Line();
    }
    struct Landscape {
        bool checkBox;
        std::string_view heading;
        KeyGroup keys;
        Layer layer;
    };
    const std::array<Landscape, 3> landscape = {{
        {s.SaveBirthCheckBox, "[Eternal Life Field]", KeyGroup::EternalLife, Layer::EternalLife},
        {s.SaveDeathCheckBox, "[Eternal Dead Field]", KeyGroup::EternalDead, Layer::EternalDead},
        {s.SaveReal2CheckBox, "[Other Reality Field]", KeyGroup::OtherReality, Layer::OtherReality},
    }};
    for (const Landscape& l : landscape) {
        if (!(qsave || (zlf && l.checkBox) || atExit))
            continue;
        out.Line(l.heading);
        WriteKeys(out, l.keys, world, s);
        WriteFieldSection(out, world, l.layer, true);
        out.Line();
    }
}

bool IsColourLine(std::string_view line) {
    if (line.size() < 4 || line[0] != '#' || line[1] != 'C' || line[3] != ' ')
        return false;
    const char c = line[2];
    return c == 'Z' || c == 'X' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'V');
}

void ReadKindLine(std::string_view line, NativeKind& kind) {
    if (Contains(line, "#FileType zlf"))
        kind = NativeKind::Zlf;
    if (Contains(line, "#FileType mini"))
        kind = NativeKind::Mini;
    if (Contains(line, "#FileType ini"))
        kind = NativeKind::Ini;
    if (Contains(line, "#FileType qsave"))
        kind = NativeKind::Qsave;
}

}  // namespace

std::string_view NativeKindName(NativeKind kind) {
    switch (kind) {
        case NativeKind::Mini:
            return "mini";
        case NativeKind::Qsave:
            return "qsave";
        case NativeKind::Ini:
            return "ini";
        case NativeKind::Zlf:
            break;
    }
    return "zlf";
}

std::filesystem::path NativeFilePath(const std::filesystem::path& file, NativeKind kind) {
    std::filesystem::path path = file;
    switch (kind) {
        case NativeKind::Zlf:
            path.replace_extension(".zlf");
            break;
        case NativeKind::Mini:
            path.replace_extension(".mlf");
            break;
        case NativeKind::Qsave:
            path.replace_extension(".qlf");
            break;
        case NativeKind::Ini:
            break;
    }
    return path;
}

std::filesystem::path WriteNativeFile(const World& world, const Settings& s,
                                      const std::filesystem::path& file, NativeKind kind) {
    const std::filesystem::path path = NativeFilePath(file, kind);
    const bool ini = kind == NativeKind::Ini, mini = kind == NativeKind::Mini;
    const bool zlf = kind == NativeKind::Zlf, qsave = kind == NativeKind::Qsave;

    TextBuilder out;
    if (!ini) {
        out.Line("#Zentorix");
        out.Line("#FileName " + path.filename().string());
    } else {
        out.Line("#Zentorix configuration file");
    }
    out.Line("#FileType " + std::string(NativeKindName(kind)));
    if (!mini)
        out.Line("#DateTime " + FormatDateTime(CurrentLocalTime()));

    out.Line("[Interface]");
    WriteKeys(out, KeyGroup::InterfaceSize, world, s);
    if (ini) {
        WriteKeys(out, KeyGroup::InterfaceIni, world, s);
        out.Line();
    }

    struct Section {
        bool checkBox;
        std::string_view heading;
        KeyGroup keys;
    };
    const std::array<Section, 6> sections = {{
        {s.SaveLandCheckBox, "[Land]", KeyGroup::Land},
        {s.SaveMuseumCheckBox, "[Museum]", KeyGroup::Museum},
        {s.SaveRulesCheckBox, "[Rules]", KeyGroup::Rules},
        {s.SaveColorPCheckBox, "[Color]", KeyGroup::Color},
        {s.SaveStatCheckBox, "[Statistic]", KeyGroup::Statistic},
        {s.SaveOptionCheckBox, "[Option]", KeyGroup::Option},
    }};
    for (const Section& section : sections) {
        if (!(ini || qsave || (zlf && section.checkBox)))
            continue;
        out.Line(section.heading);
        WriteKeys(out, section.keys, world, s);
        out.Line();
    }

    if (!mini)
        out.Line("[Description]");
    WriteDescription(out, world);
    out.Line();

    out.Line("[Rules Settings]");
    AppendRuleLines(out, "#R0 ", RuleToString(world, 0, 0));
    if (!mini) {
        AppendRuleLines(out, "#R1 ", RuleToString(world, 0, 1));
        AppendRuleLines(out, "#R2 ", RuleToString(world, 0, 2));
    }
    out.Line();

    if (!mini) {
        if (ini || qsave || (zlf && s.SaveColorCheckBox)) {
            out.Line("[Color Settings]");
            for (int line = kFirstPaletteLine; line <= kLastPaletteLine; ++line)
                if (const std::string text = FormatPaletteLine(s.Colours, line); !text.empty())
                    out.Line(text);
        }
        out.Line();
    }

    WriteFieldSections(out, world, s, kind);
    WriteFileAtomic(path, out.Text());
    return path;
}

std::filesystem::path SaveNativeFile(const World& world, Settings& settings,
                                     const std::filesystem::path& file, NativeKind kind) {
    settings.RaiseSpeedFromZero();
    return WriteNativeFile(world, settings, file, kind);
}

NativeReadResult ReadNativeFile(World& world, Settings& settings,
                                const std::filesystem::path& file) {
    NativeReadResult result;
    // The text is walked line by line: a copy per line would make a file of
    // millions of short lines cost many times its size.
    const auto text = ReadTextFile(file);
    if (!text)
        return result;
    result.found = true;

    const std::string name = file.filename().string();
    if (!Contains(name, ".ini"))
        world.CurrentFileName = name;
    if (settings.StopForLoad) {
        result.stopRun = true;
        world.Counters.Generation = 1;
    }
    world.Description.clear();

    NativeReadState state{world, settings};
    std::array<std::string, 3> ruleText;
    {
        // The colour table follows the palette lines once, after the last of
        // them, also when a bad line ends the reading.
        struct Rebuild {
            ColourModel& colours;
            bool needed = false;
            ~Rebuild() {
                if (needed)
                    colours.RebuildStateColours();
            }
        } rebuild{settings.Colours};
        ForEachTextLine(*text, [&](std::string_view line) {
            // Description lines are the user's own text: a key named in it is not
            // applied, so any description reads back as it was written.
            if (StartsWith(line, "#D ")) {
                world.Description.emplace_back(
                    FirstCharacters(FromCharacter(line, 4), kMaxDescriptionLine));
                return;
            }
            ReadKindLine(line, state.kind);
            ApplyKeyLine(state, line);
            if (StartsWith(line, "#R0 "))
                ruleText[0] += line.substr(4);
            if (state.kind == NativeKind::Mini)
                return;
            if (StartsWith(line, "#R1 "))
                ruleText[1] += line.substr(4);
            if (StartsWith(line, "#R2 "))
                ruleText[2] += line.substr(4);
            if (IsColourLine(line)) {
                ReadPaletteLine(settings.Colours, line);
                rebuild.needed = true;
            }
        });
    }
    result.kind = state.kind;
    result.languageRead = state.languageRead;
    const bool mini = state.kind == NativeKind::Mini;
    const bool qsave = state.kind == NativeKind::Qsave;

    if (!ruleText[0].empty())
        ParseRuleString(world, ruleText[0], kFamilyZentorix,
                        mini ? int{settings.LoadRulesSelector} : 0);
    for (int set = 1; set <= 2; ++set)
        if (!ruleText[set].empty())
            ParseRuleString(world, ruleText[set], kFamilyZentorix, set);
    RefreshRuleEditor(world, world.Editor.EditedRuleSet);

    const bool replace = settings.ClearForLoad || qsave;
    if (replace)
        for (Layer layer : kLandscapeLayers)
            ClearLayer(world, layer);

    ReadFieldSectionText(world, *text, FieldSectionKey(Layer::Main));
    Layer target = Layer::Main;
    if (!mini || LayerFromIndex(settings.LoadFieldSelector, target)) {
        if (replace)
            ReplaceLayerFromStaging(world, target);
        else
            MergeStagingIntoLayer(world, target);
    }
    for (Layer layer : kLandscapeLayers)
        if (ReadFieldSectionText(world, *text, FieldSectionKey(layer)) || qsave)
            MergeStagingIntoLayer(world, layer);
    return result;
}

}  // namespace zentorix
