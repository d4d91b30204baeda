#include "formats/native_keys.h"

#include <algorithm>
#include <array>
#include <vector>

#include "formats/key_lines.h"

namespace zentorix {

namespace {

// The longest text a list box's text takes from a file.
constexpr std::size_t kMaxListText = 999;

template <auto Member>
constexpr NativeKey FlagKey(std::string_view key, ReadWhen when) {
    return {
        key, when, [](const World&, const Settings& s) { return FlagText(s.*Member); },
        [](NativeReadState& st, std::string_view line) { st.settings.*Member = KeyFlag(line); }};
}

// Up-downs, track bars and list indexes: assignment keeps the control's range.
template <auto Member>
constexpr NativeKey NumberKey(std::string_view key, ReadWhen when) {
    return {
        key, when,
        [](const World&, const Settings& s) { return std::to_string(static_cast<int>(s.*Member)); },
        [](NativeReadState& st, std::string_view line) { st.settings.*Member = KeyInteger(line); }};
}

template <auto Member>
constexpr NativeKey TextKey(std::string_view key, ReadWhen when) {
    return {key, when, [](const World&, const Settings& s) { return OneLine(s.*Member); },
            [](NativeReadState& st, std::string_view line) {
                st.settings.*Member = KeyText(line, kMaxListText);
            }};
}

// A size read from any file stays within what the field can show.
std::int32_t LoadedFieldSize(std::string_view line) {
    return std::clamp(KeyInteger(line), kMinFieldSize, kMaxLoadedFieldSize);
}

constexpr std::array<NativeKey, 2> kInterfaceSizeKeys = {{
    {"#FieldHeight:", ReadWhen::All,
     [](const World& w, const Settings&) { return std::to_string(w.FieldHeight()); },
     [](NativeReadState& st, std::string_view line) {
         st.world.SetFieldHeight(LoadedFieldSize(line));
     }},
    {"#FieldWidth:", ReadWhen::All,
     [](const World& w, const Settings&) { return std::to_string(w.FieldWidth()); },
     [](NativeReadState& st, std::string_view line) {
         st.world.SetFieldWidth(LoadedFieldSize(line));
     }},
}};

constexpr std::array<NativeKey, 13> kInterfaceIniKeys = {{
    NumberKey<&Settings::WindowTop>("#WindowTop:", ReadWhen::IniOnly),
    NumberKey<&Settings::WindowLeft>("#WindowLeft:", ReadWhen::IniOnly),
    NumberKey<&Settings::WindowHeight>("#WindowHeight:", ReadWhen::IniOnly),
    NumberKey<&Settings::WindowWidth>("#WindowWidth:", ReadWhen::IniOnly),
    NumberKey<&Settings::PagesOpen1>("#PagesOpen1", ReadWhen::IniOnly),
    NumberKey<&Settings::PagesOpen2>("#PagesOpen2", ReadWhen::IniOnly),
    {"#Language", ReadWhen::IniOnly,
     [](const World&, const Settings& s) { return OneLine(s.Language); },
     [](NativeReadState& st, std::string_view line) {
         st.settings.Language = KeyText(line, kMaxListText);
         st.languageRead = true;
     }},
    FlagKey<&Settings::Grid>("#Grid", ReadWhen::IniOnly),
    // The tool is told by the value's own column, not by any "1" in the line.
    {"#Paint", ReadWhen::IniOnly, [](const World&, const Settings& s) { return FlagText(s.Paint); },
     [](NativeReadState& st, std::string_view line) {
         st.settings.Paint = CharacterAt(line, kValueColumn) == '1';
     }},
    FlagKey<&Settings::ShowHints>("#ShowHints", ReadWhen::IniOnly),
    FlagKey<&Settings::SaveFieldWhenExit>("#SaveFieldWhenExit", ReadWhen::IniOnly),
    FlagKey<&Settings::ClearForLoad>("#ClearForLoad", ReadWhen::IniOnly),
    FlagKey<&Settings::StopForLoad>("#StopForLoad", ReadWhen::IniOnly),
}};

constexpr std::array<NativeKey, 23> kLandKeys = {{
    FlagKey<&Settings::EternalLifeOn>("#EternalLifeOn", ReadWhen::NotMini),
    FlagKey<&Settings::EternalDeadOn>("#EternalDeadOn", ReadWhen::NotMini),
    FlagKey<&Settings::OtherRealityOn>("#OtherRealityOn", ReadWhen::NotMini),
    FlagKey<&Settings::MainLifePaint>("#MainLifePaint", ReadWhen::NotMini),
    FlagKey<&Settings::EternalLifePaint>("#EternalLifePaint", ReadWhen::NotMini),
    FlagKey<&Settings::EternalDeadPaint>("#EternalDeadPaint", ReadWhen::NotMini),
    FlagKey<&Settings::OtherRealPaint>("#OtherRealPaint", ReadWhen::NotMini),
    FlagKey<&Settings::MainLifeRefresh>("#MainLifeRefresh", ReadWhen::NotMini),
    FlagKey<&Settings::EternalLifeRefresh>("#EternalLifeRefresh", ReadWhen::NotMini),
    FlagKey<&Settings::EternalDeadRefresh>("#EternalDeadRefresh", ReadWhen::NotMini),
    FlagKey<&Settings::OtherRealRefresh>("#OtherRealRefresh", ReadWhen::NotMini),
    FlagKey<&Settings::MainLifeErase>("#MainLifeErase", ReadWhen::NotMini),
    FlagKey<&Settings::EternalLifeErase>("#EternalLifeErase", ReadWhen::NotMini),
    FlagKey<&Settings::EternalDeadErase>("#EternalDeadErase", ReadWhen::NotMini),
    FlagKey<&Settings::OtherRealErase>("#OtherRealErase", ReadWhen::NotMini),
    NumberKey<&Settings::CopyFromComboBox>("#CopyFromComboBox", ReadWhen::NotMini),
    NumberKey<&Settings::CopyToComboBox>("#CopyToComboBox", ReadWhen::NotMini),
    FlagKey<&Settings::MainFillRandom>("#MainFillRandom", ReadWhen::NotMini),
    FlagKey<&Settings::EtenalLifeFillRandom>("#EtenalLifeFillRandom", ReadWhen::NotMini),
    FlagKey<&Settings::EtenalDeadFillRandom>("#EtenalDeadFillRandom", ReadWhen::NotMini),
    FlagKey<&Settings::OtherRealFillRandom>("#OtherRealFillRandom", ReadWhen::NotMini),
    NumberKey<&Settings::RandomFillIntensity>("#RandomFillIntensity", ReadWhen::NotMini),
    NumberKey<&Settings::RandomFillPeriod>("#RandomFillPeriod", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 2> kMuseumKeys = {{
    NumberKey<&Settings::LoadFieldSelector>("#LoadFieldSelector", ReadWhen::NotMini),
    NumberKey<&Settings::LoadRulesSelector>("#LoadRulesSelector", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 2> kRulesKeys = {{
    // Written for the reader of the text only: the rules come back from the rule lines.
    {"#RulesComboBox", ReadWhen::Never,
     [](const World&, const Settings& s) { return std::to_string(s.RulesComboBox); },
     [](NativeReadState&, std::string_view) {}},
    // Its number is taken from one column earlier than the other keys'.
    {"#RulesSelectorBox", ReadWhen::NotMini,
     [](const World&, const Settings& s) { return std::to_string(int{s.RulesSelectorBox}); },
     [](NativeReadState& st, std::string_view line) {
         st.settings.RulesSelectorBox = KeyInteger(line, kValueColumn - 1);
     }},
}};

constexpr std::array<NativeKey, 3> kColorKeys = {{
    TextKey<&Settings::GenColorComboBoxText>("#GenColorComboBoxText", ReadWhen::NotMini),
    TextKey<&Settings::ColorComboBoxText>("#ColorComboBoxText", ReadWhen::NotMini),
    NumberKey<&Settings::ColorComboBoxIndex>("#ColorComboBoxIndex", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 8> kStatisticKeys = {{
    FlagKey<&Settings::AutoScaleY>("#AutoScaleY", ReadWhen::NotMini),
    NumberKey<&Settings::StatisticScaleX>("#StatisticScaleX", ReadWhen::NotMini),
    NumberKey<&Settings::StatisticScaleY>("#StatisticScaleY", ReadWhen::NotMini),
    NumberKey<&Settings::MaxThreshold>("#MaxThreshold", ReadWhen::NotMini),
    NumberKey<&Settings::MinThreshold>("#MinThreshold", ReadWhen::NotMini),
    FlagKey<&Settings::AutoStartRecord>("#AutoStartRecord", ReadWhen::NotMini),
    NumberKey<&Settings::StartRecordStatistic>("#StartRecordStatistic", ReadWhen::NotMini),
    NumberKey<&Settings::EndRecordStatistic>("#EndRecordStatistic", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 5> kOptionKeys = {{
    FlagKey<&Settings::TransparentMode>("#TransparentMode", ReadWhen::NotMini),
    FlagKey<&Settings::AutoStop>("#AutoStop", ReadWhen::NotMini),
    NumberKey<&Settings::SizeBigGrid>("#SizeBigGrid", ReadWhen::NotMini),
    // The maximum-speed position 0 is stored as 1; the save commands raise the
    // track bar to 1 first (Settings::RaiseSpeedFromZero), so the two agree.
    {"#SpeedMain", ReadWhen::NotMini,
     [](const World&, const Settings& s) { return std::to_string(std::max(1, int{s.SpeedMain})); },
     [](NativeReadState& st, std::string_view line) { st.settings.SpeedMain = KeyInteger(line); }},
    {"#SizeCells", ReadWhen::NotMini,
     [](const World&, const Settings& s) { return std::to_string(s.SizeCells); },
     [](NativeReadState& st, std::string_view line) {
         st.settings.SetSizeCells(KeyInteger(line));
     }},
}};

constexpr std::array<NativeKey, 2> kEternalLifeKeys = {{
    NumberKey<&Settings::EternalLifePeriod>("#EternalLifePeriod", ReadWhen::NotMini),
    NumberKey<&Settings::EternalLifeIntensity>("#EternalLifeIntensity", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 2> kEternalDeadKeys = {{
    NumberKey<&Settings::EternalDeadPeriod>("#EternalDeadPeriod", ReadWhen::NotMini),
    NumberKey<&Settings::EternalDeadIntensity>("#EternalDeadIntensity", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 2> kOtherRealityKeys = {{
    FlagKey<&Settings::Synchronization>("#Synchronization", ReadWhen::NotMini),
    NumberKey<&Settings::SpeedOtherReality>("#SpeedOtherReality", ReadWhen::NotMini),
}};

constexpr std::array<NativeKey, 1> kReadOnlyKeys = {{
    FlagKey<&Settings::FeedBack>("#FeedBack", ReadWhen::NotMini),
}};

// Whether the key occurs anywhere in the line. Every key begins with "#", so only
// the places of that character are tried: a line of field data, which holds one
// "#" at its start, is dismissed at once.
bool OccursInLine(std::string_view line, std::string_view key) {
    for (std::size_t p = line.find('#'); p != std::string_view::npos; p = line.find('#', p + 1))
        if (line.compare(p, key.size(), key) == 0)
            return true;
    return false;
}

std::span<const NativeKey> GroupKeys(int group) {
    switch (static_cast<KeyGroup>(group)) {
        case KeyGroup::InterfaceSize:
            return kInterfaceSizeKeys;
        case KeyGroup::InterfaceIni:
            return kInterfaceIniKeys;
        case KeyGroup::Land:
            return kLandKeys;
        case KeyGroup::Museum:
            return kMuseumKeys;
        case KeyGroup::Rules:
            return kRulesKeys;
        case KeyGroup::Color:
            return kColorKeys;
        case KeyGroup::Statistic:
            return kStatisticKeys;
        case KeyGroup::Option:
            return kOptionKeys;
        case KeyGroup::EternalLife:
            return kEternalLifeKeys;
        case KeyGroup::EternalDead:
            return kEternalDeadKeys;
        case KeyGroup::OtherReality:
            return kOtherRealityKeys;
        case KeyGroup::ReadOnly:
            return kReadOnlyKeys;
    }
    return {};
}

// Every key in the order lines apply them, listed by the letter after its "#":
// a line is tried only against the keys whose letter follows one of its "#"s,
// not against the whole table. A key of "#" alone would fit any such place.
struct KeyIndex {
    std::vector<const NativeKey*> keys;
    std::vector<std::string_view> names;
    std::array<std::vector<std::size_t>, 256> byLetter;
    std::vector<std::size_t> anyLetter;

    KeyIndex() {
        for (int g = 0; g < kKeyGroupCount; ++g)
            for (const NativeKey& key : GroupKeys(g)) {
                const std::size_t k = keys.size();
                keys.push_back(&key);
                names.push_back(key.ReadName());
                if (names.back().size() < 2)
                    anyLetter.push_back(k);
                else
                    byLetter[static_cast<unsigned char>(names.back()[1])].push_back(k);
            }
    }
};

const KeyIndex& Index() {
    static const KeyIndex index;
    return index;
}

}  // namespace

std::span<const NativeKey> NativeKeys(KeyGroup group) {
    return GroupKeys(static_cast<int>(group));
}

const NativeKey* FindNativeKey(std::string_view written) {
    for (int g = 0; g < kKeyGroupCount; ++g)
        for (const NativeKey& key : NativeKeys(static_cast<KeyGroup>(g)))
            if (key.written == written)
                return &key;
    return nullptr;
}

bool ReadAllowed(ReadWhen when, NativeKind kind) {
    switch (when) {
        case ReadWhen::All:
            return true;
        case ReadWhen::NotMini:
            return kind != NativeKind::Mini;
        case ReadWhen::IniOnly:
            return kind == NativeKind::Ini;
        case ReadWhen::Never:
            break;
    }
    return false;
}

void WriteKey(TextBuilder& out, const NativeKey& key, const World& world,
              const Settings& settings) {
    out.Line(KeyLine(key.written, key.value(world, settings)));
}

void ApplyKeyLine(NativeReadState& state, std::string_view line) {
    const KeyIndex& index = Index();
    const auto apply = [&](const std::vector<std::size_t>& candidates) {
        for (std::size_t k : candidates) {
            const NativeKey& key = *index.keys[k];
            if (ReadAllowed(key.when, state.kind) && OccursInLine(line, index.names[k]))
                key.apply(state, line);
        }
    };
    const auto keysAfter = [&](std::size_t p) -> const std::vector<std::size_t>& {
        static const std::vector<std::size_t> none;
        return p + 1 < line.size() ? index.byLetter[static_cast<unsigned char>(line[p + 1])] : none;
    };
    const std::size_t first = line.find('#');
    if (first == std::string_view::npos)
        return;
    // Most lines hold one "#": its letter names the only keys that can occur.
    if (index.anyLetter.empty() && line.find('#', first + 1) == std::string_view::npos) {
        apply(keysAfter(first));
        return;
    }
    // Several "#"s may name the same letter or letters out of order; keys still
    // apply once each, in table order.
    std::vector<std::size_t> candidates = index.anyLetter;
    for (std::size_t p = first; p != std::string_view::npos; p = line.find('#', p + 1)) {
        const auto& keys = keysAfter(p);
        candidates.insert(candidates.end(), keys.begin(), keys.end());
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    apply(candidates);
}

}  // namespace zentorix
