#include <gtest/gtest.h>

#include <algorithm>

#include "core/temp_folder.h"
#include "core/test_support.h"
#include "engine/rule_text.h"
#include "formats/field_section.h"
#include "formats/format_error.h"
#include "formats/key_lines.h"
#include "formats/native_file.h"
#include "formats/native_keys.h"

namespace zentorix {
namespace {

using test::FileLines;
using test::TempFolder;
using Lines = std::vector<std::string>;
using Cells = std::vector<std::pair<int, int>>;

constexpr Layer kAllLayers[] = {Layer::Main, Layer::EternalLife, Layer::EternalDead,
                                Layer::OtherReality};

// Every setting a file stores, moved off its start value: each switch turned
// over, each number to one of its own, so two keys swapped by the writer or the
// reader show.
void Customise(World& w, Settings& s) {
    NativeReadState state{w, s, NativeKind::Ini};
    for (int group = 0; group < kKeyGroupCount; ++group)
        for (const NativeKey& key : NativeKeys(static_cast<KeyGroup>(group)))
            if (const std::string v = key.value(w, s); v == "0" || v == "1")
                ApplyKeyLine(state, KeyLine(key.written, v == "0" ? "1" : "0"));
    const std::string values =
        "#WindowTop: -1234567\n#WindowLeft: 2560\n#WindowHeight: 1400\n#WindowWidth: 123456\n"
        "#PagesOpen1 3\n#PagesOpen2 2\n#Language english.lng\n#CopyFromComboBox 2\n"
        "#CopyToComboBox 3\n#RandomFillIntensity 77\n#RandomFillPeriod 9\n#LoadFieldSelector 2\n"
        "#LoadRulesSelector 1\n#GenColorComboBoxText Синьо-Червона-64\n#ColorComboBoxText Ліс\n"
        "#ColorComboBoxIndex 3\n#StatisticScaleX 7\n#StatisticScaleY 250\n#MaxThreshold 150\n"
        "#MinThreshold 20\n#StartRecordStatistic 15\n#EndRecordStatistic 31999\n"
        "#SizeBigGrid 12\n#SpeedMain 250\n#SizeCells 4\n#EternalLifePeriod 5\n"
        "#EternalLifeIntensity 3\n#EternalDeadPeriod 6\n#EternalDeadIntensity 2\n"
        "#SpeedOtherReality 1234";
    for (const std::string& line : SplitLines(values)) {
        const std::size_t blank = line.find(' ');
        ApplyKeyLine(state, KeyLine(line.substr(0, blank), line.substr(blank + 1)));
    }
    s.RulesSelectorBox = 2;  // read from a column of its own
    s.SaveFieldWhenExit = true;
    ColourModel& c = s.Colours;
    c.ShowBirthCells = c.ColorMode = true;
    c.CellColour = 123;
    c.BackgroundColour = 4567;
    c.GridColour = 89;
    c.BigGridColour = 16777215;
    c.BirthColour = 1000;
    c.DeadColour = 2000;
    c.GenColourCount = 200;
    for (int i = 1; i <= kPaletteSize; ++i)
        c.GenPalette[i] = i * 1000 + 7;
}

// A non-default size, description and rules (set 2 of 154 characters, which the
// writer cuts into two full pieces and an empty one), every layer filled.
void MakeExperiment(World& world, Settings& settings) {
    world.SetFieldWidth(130);
    world.SetFieldHeight(70);
    Customise(world, settings);
    world.Random.FixSeed(11);
    for (Layer layer : kAllLayers)
        for (int x = 0; x <= world.FieldWidth(); ++x)
            for (int y = 0; y <= world.FieldHeight(); ++y)
                world.LayerField(layer).at(x, y) =
                    world.Random.Below(4) == 0 ? 1 + world.Random.Below(256) : 0;
    ParseRuleString(world, "#R NW2,NN-3,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX2,2N2W5,HI7,RB3,RB-4,RS2",
                    kFamilyZentorix, 0);
    ParseRuleString(world, "#R NW1,NN1,NE1,WW1,ME1,EE1,SW1,SS1,SE1,EX0,HI0,RB1,RS1,RS5",
                    kFamilyZentorix, 1);
    std::string rule = "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,";
    for (int sum = 10; sum < 32; ++sum)
        rule += "RB" + std::to_string(sum) + ",";
    ParseRuleString(world, rule, kFamilyZentorix, 2);
    ASSERT_EQ(RuleToString(world, 0, 2).size(), 154u);
    world.Description = {"Перший рядок", "", "second line"};
}

void CheckAllSaveBoxes(Settings& s) {
    s.SetSaveReal2CheckBox(true);
    s.SaveMuseumCheckBox = s.SaveRulesCheckBox = s.SaveColorPCheckBox = true;
    s.SaveStatCheckBox = s.SaveOptionCheckBox = s.SaveColorCheckBox = true;
    s.SaveBirthCheckBox = s.SaveDeathCheckBox = true;
}

// The keys of the settings pages, which every kind but mini may carry.
constexpr KeyGroup kPageGroups[] = {
    KeyGroup::Land,        KeyGroup::Museum,      KeyGroup::Rules,
    KeyGroup::Color,       KeyGroup::Statistic,   KeyGroup::Option,
    KeyGroup::EternalLife, KeyGroup::EternalDead, KeyGroup::OtherReality};

// The values of the pages' and the other groups' keys and the colours are the same.
void ExpectSettingsEqual(const World& wa, const Settings& a, const World& wb, const Settings& b,
                         std::vector<KeyGroup> groups) {
    groups.insert(groups.end(), std::begin(kPageGroups), std::end(kPageGroups));
    for (KeyGroup group : groups)
        for (const NativeKey& key : NativeKeys(group))
            if (key.when != ReadWhen::Never) {
                EXPECT_EQ(key.value(wa, a), key.value(wb, b)) << key.written;
            }
    for (int kind = -2; kind <= 31; ++kind)
        EXPECT_EQ(FormatPaletteLine(a.Colours, kind), FormatPaletteLine(b.Colours, kind)) << kind;
}

void ExpectLayersRulesAndDescriptionEqual(const World& a, const World& b) {
    for (Layer layer : kAllLayers)
        for (int x = 0; x <= a.FieldWidth(); ++x)
            for (int y = 0; y <= a.FieldHeight(); ++y)
                ASSERT_EQ(a.LayerField(layer).at(x, y), b.LayerField(layer).at(x, y))
                    << "layer " << static_cast<int>(layer) << " at " << x << "," << y;
    for (int set = 0; set < 3; ++set)
        EXPECT_EQ(RuleToString(a, 0, set), RuleToString(b, 0, set)) << set;
    EXPECT_EQ(b.Description, a.Description);
}

std::size_t CountPrefix(const Lines& lines, std::string_view prefix) {
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return StartsWith(l, prefix); }));
}

bool HasLine(const Lines& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The message of the FormatError the read raises; empty when it raises none.
std::string ReadError(World& world, Settings& settings, const std::filesystem::path& file) {
    try {
        ReadNativeFile(world, settings, file);
    } catch (const FormatError& e) {
        return e.what();
    }
    return {};
}

// A folder, an experiment to write and a world with its settings to read into.
struct NativeFile : ::testing::Test {
    TempFolder dir;
    World a, b;
    Settings sa, sb;
};

// A quick save, a zlf file with every save box checked and the ini file each carry
// the whole experiment; only the ini file carries the interface, and it keeps the
// name of the open file.
TEST_F(NativeFile, QsaveFullZlfAndIniRoundTripTheWholeExperiment) {
    MakeExperiment(a, sa);
    Settings boxes = sa;
    CheckAllSaveBoxes(boxes);
    for (NativeKind kind : {NativeKind::Qsave, NativeKind::Zlf, NativeKind::Ini}) {
        SCOPED_TRACE(std::string(NativeKindName(kind)));
        const bool ini = kind == NativeKind::Ini, qsave = kind == NativeKind::Qsave;
        const Settings& s = kind == NativeKind::Zlf ? boxes : sa;
        const auto path = WriteNativeFile(a, s, dir / (ini ? "Zentorix.ini" : "snap.jpg"), kind);
        World b;
        Settings sb;
        sb.ClearForLoad = kind == NativeKind::Zlf;  // the ini file says 0 itself
        const Settings before = sb;
        for (Layer layer : kAllLayers)
            b.LayerField(layer).at(-2, -2) = 9;  // a margin cell the file does not hold
        const NativeReadResult r = ReadNativeFile(b, sb, path);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(r.kind, kind);
        EXPECT_EQ(r.languageRead, ini);
        EXPECT_EQ(b.CurrentFileName, ini ? "new.zlf" : qsave ? "snap.qlf" : "snap.zlf");
        ExpectSettingsEqual(a, s, b, sb, {KeyGroup::InterfaceSize});
        ExpectLayersRulesAndDescriptionEqual(a, b);
        // ClearForLoad empties all four layers first; a quick save does so anyway.
        for (Layer layer : kAllLayers)
            EXPECT_EQ(b.LayerField(layer).at(-2, -2), ini ? 9 : 0);
        for (const NativeKey& key : NativeKeys(KeyGroup::InterfaceIni))
            EXPECT_EQ(key.value(b, sb), key.value(a, ini ? sa : before)) << key.written;
    }

    // The ini file holds the layers only when they are kept at exit.
    sa.SaveFieldWhenExit = false;
    const auto bare = FileLines(WriteNativeFile(a, sa, dir / "Zentorix.ini", NativeKind::Ini));
    for (Layer layer : kAllLayers)
        EXPECT_EQ(CountPrefix(bare, FieldSectionPrefix(layer)), 0u);
    EXPECT_FALSE(HasLine(bare, "[Main Field]"));
    EXPECT_TRUE(HasLine(bare, "[Color Settings]"));
}

TEST_F(NativeFile, ZlfSaveBoxesChooseTheSectionsAndAbsentPagesStayAsTheyWere) {
    a.MainField.at(2, 1) = 1;
    a.EternalLifeField.at(3, 3) = 1;
    Customise(a, sa);
    auto headings = [&](const Settings& s) {
        Lines out;
        for (const auto& l : FileLines(WriteNativeFile(a, s, dir / "z.zlf", NativeKind::Zlf)))
            if (StartsWith(l, "["))
                out.push_back(l);
        return out;
    };
    EXPECT_EQ(headings(sa),
              (Lines{"[Interface]", "[Description]", "[Rules Settings]", "[Main Field]"}));
    ReadNativeFile(b, sb, dir / "z.zlf");
    ExpectSettingsEqual(World{}, Settings{}, b, sb, {KeyGroup::InterfaceIni});
    EXPECT_EQ(b.MainField.at(2, 1), 1);
    EXPECT_EQ(b.EternalLifeField.at(3, 3), 0);

    Settings only;
    only.SetSaveReal2CheckBox(true);  // brings the landscape page along
    EXPECT_EQ(headings(only), (Lines{"[Interface]", "[Land]", "[Description]", "[Rules Settings]",
                                     "[Main Field]", "[Other Reality Field]"}));
    CheckAllSaveBoxes(sa);
    EXPECT_EQ(headings(sa), (Lines{"[Interface]", "[Land]", "[Museum]", "[Rules]", "[Color]",
                                   "[Statistic]", "[Option]", "[Description]", "[Rules Settings]",
                                   "[Color Settings]", "[Main Field]", "[Eternal Life Field]",
                                   "[Eternal Dead Field]", "[Other Reality Field]"}));
}

TEST_F(NativeFile, MiniPutsSelectionAndRuleIntoTheChosenLayerAndRuleSet) {
    a.SetFieldWidth(60);
    a.SetFieldHeight(40);
    test::Draw(a.MainField, 10, 20, {".*.", "..*", "***"});
    a.MainField.at(30, 30) = 5;  // outside the selection
    a.Selection = {10, 20, 12, 22};
    ParseRuleString(a, "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,RB6,RS2,RS3",
                    kFamilyZentorix, 0);
    a.Description = {"glider"};
    const auto path = WriteNativeFile(a, sa, dir / "glider.txt", NativeKind::Mini);
    EXPECT_EQ(path.filename(), "glider.mlf");
    // The reader skips these in a mini file, so only the writer can be asked.
    const auto lines = FileLines(path);
    for (const char* absent : {"#DateTime", "[Description]", "#R1 ", "#R2 ", "#C"})
        EXPECT_EQ(CountPrefix(lines, absent), 0u) << absent;

    sb.LoadFieldSelector = 1;
    sb.LoadRulesSelector = 2;
    b.MainField.at(5, 5) = 3;
    const std::string rule0 = RuleToString(b, 0, 0);
    EXPECT_EQ(ReadNativeFile(b, sb, path).kind, NativeKind::Mini);
    EXPECT_EQ(test::LiveCells(b.EternalLifeField, -3, -3, 61, 41),
              (Cells{{0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_EQ(b.MainField.at(5, 5), 3);
    EXPECT_EQ(RuleToString(b, 0, 2), RuleToString(a, 0, 0));
    EXPECT_EQ(RuleToString(b, 0, 0), rule0);
}

TEST_F(NativeFile, RuleTextIsCutIntoPiecesOf77Characters) {
    auto cut = [](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>('a' + i % 26);
        TextBuilder out;
        AppendRuleLines(out, "#R0 ", text);
        std::vector<std::size_t> pieces;
        std::string joined;
        for (const auto& line : SplitLines(out.Text())) {
            EXPECT_TRUE(StartsWith(line, "#R0 "));
            pieces.push_back(line.size() - 4);
            joined += line.substr(4);
        }
        EXPECT_EQ(joined, text);
        return pieces;
    };
    using Sizes = std::vector<std::size_t>;
    EXPECT_EQ(cut(0), Sizes{});
    EXPECT_EQ(cut(76), Sizes{76});
    EXPECT_EQ(cut(77), (Sizes{77, 0}));
    EXPECT_EQ(cut(78), (Sizes{77, 1}));
    EXPECT_EQ(cut(154), (Sizes{77, 77, 0}));
}

TEST_F(NativeFile, SpeedZeroIsStoredAsOneAndTheTrackBarFollows) {
    sa.SpeedMain = 0;
    const auto written = FileLines(WriteNativeFile(a, sa, dir / "a.qlf", NativeKind::Qsave));
    EXPECT_TRUE(HasLine(written, "#SpeedMain            1"));
    EXPECT_EQ(sa.SpeedMain, 0);  // the plain writer leaves the setting alone
    const auto saved = FileLines(SaveNativeFile(a, sa, dir / "b.qlf", NativeKind::Qsave));
    EXPECT_TRUE(HasLine(saved, "#SpeedMain            1"));
    EXPECT_EQ(sa.SpeedMain, 1);
}

TEST_F(NativeFile, OlderFilesInWindows1251WithKeysAnywhereAndSectionsMissing) {
    // No kind line (read as zlf), CR LF, Cyrillic in Windows-1251, keys after other
    // text, a switch with its "1" far from the value column.
    const std::string bytes =
        "#Zentorix\r\n"
        "#FieldWidth:          40\r\n"
        "xx#EternalDeadOn      0   (was 1)\r\n"
        "#AutoStop             0\r\n"
        "#Grid                 0\r\n"
        "#D \xCF\xF0\xE8\xE2\xB3\xF2\r\n"
        "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,\r\n"
        "#R0 RB6,RS2,RS3\r\n"
        "#L 2.3A\r\n";
    test::WriteBytes(dir / "old.zlf", bytes);
    sb.AutoStop = true;
    const NativeReadResult r = ReadNativeFile(b, sb, dir / "old.zlf");
    EXPECT_EQ(r.kind, NativeKind::Zlf);
    EXPECT_EQ(b.FieldWidth(), 40);
    EXPECT_EQ(b.FieldHeight(), 140);  // absent: as it was
    EXPECT_TRUE(sb.EternalDeadOn);
    EXPECT_FALSE(sb.AutoStop);
    EXPECT_TRUE(sb.Grid);  // an ini-only key in a zlf file
    EXPECT_EQ(b.Description, (Lines{"Привіт"}));
    EXPECT_EQ(b.Rules[0].BirthList, (std::vector<std::int32_t>{3, 6}));  // from both pieces
    EXPECT_EQ(test::LiveCells(b.MainField, -3, -3, 41, 141), (Cells{{2, 0}, {3, 0}, {4, 0}}));
}

TEST_F(NativeFile, MalformedNumberStopsTheLoadKeepingWhatWasAppliedBefore) {
    test::WriteBytes(dir / "bad.qlf",
                     "#Zentorix\r\n#FileType qsave\r\n"
                     "#D kept\r\n"
                     "#AutoStop             1\r\n"
                     "#SpeedMain            fast\r\n"
                     "#TransparentMode      1\r\n"
                     "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB1,\r\n"
                     "#L 5A\r\n");
    b.MainField.at(20, 20) = 2;
    b.EternalLifeField.at(20, 20) = 1;
    EXPECT_EQ(ReadError(b, sb, dir / "bad.qlf"), "'fast' is not a valid integer value");
    EXPECT_TRUE(sb.AutoStop);
    EXPECT_EQ(sb.SpeedMain, 1);
    EXPECT_FALSE(sb.TransparentMode);
    EXPECT_EQ(b.Description, (Lines{"kept"}));
    EXPECT_EQ(b.MainField.at(20, 20), 2);
    EXPECT_EQ(b.MainField.at(0, 0), 0);
    EXPECT_EQ(b.EternalLifeField.at(20, 20), 1);

    // A number split by a blank is not a number.
    test::WriteBytes(dir / "split.zlf", "#SpeedMain            12 34\r\n");
    EXPECT_EQ(ReadError(b, sb, dir / "split.zlf"), "'12 34' is not a valid integer value");
}

TEST_F(NativeFile, SwitchAndColumnRulesOfKeyLines) {
    test::WriteBytes(dir / "keys.ini",
                     "#FileType ini\r\n"
                     "#Grid                 0\r\n"
                     "#ShowHints            0 but 1 later\r\n"
                     "#Paint                0 1\r\n"
                     "#RulesSelectorBox    2\r\n"
                     "#RulesComboBox        77\r\n"
                     "#SizeCells            99\r\n");
    b.Editor.EditedRuleSet = 1;
    ReadNativeFile(b, sb, dir / "keys.ini");
    EXPECT_FALSE(sb.Grid);
    EXPECT_TRUE(sb.ShowHints);
    EXPECT_FALSE(sb.Paint);  // the tool reads the value column only
    EXPECT_EQ(sb.RulesSelectorBox, 2);
    EXPECT_EQ(b.Editor.EditedRuleSet, 1);
    EXPECT_EQ(sb.RulesComboBox, -1);
    EXPECT_EQ(sb.SizeCells, sb.CellSize);
}

TEST_F(NativeFile, FieldSizesFromAFileStayWithin25And997) {
    const std::pair<const char*, int> cases[] = {
        {"10", 25}, {"998", 997}, {"2000000000", 997}, {"-5", 25}, {"300", 300}};
    for (const auto& [text, size] : cases) {
        test::WriteBytes(dir / "s.zlf", std::string("#FieldWidth:          ") + text +
                                            "\r\n#FieldHeight:         " + text + "\r\n");
        World b;
        Settings sb;
        ReadNativeFile(b, sb, dir / "s.zlf");
        EXPECT_EQ(b.FieldWidth(), size) << text;
        EXPECT_EQ(b.FieldHeight(), size) << text;
    }
}

TEST_F(NativeFile, DescriptionTextNeverActsAsAKey) {
    a.Description = {"#FieldWidth: wide", "#FileType mini", "#AutoStop 1", std::string(3500, 'x')};
    const auto path = WriteNativeFile(a, sa, dir / "d.zlf", NativeKind::Zlf);
    EXPECT_EQ(ReadNativeFile(b, sb, path).kind, NativeKind::Zlf);
    EXPECT_FALSE(sb.AutoStop);
    ASSERT_EQ(b.Description.size(), 4u);
    EXPECT_EQ(b.Description[0], "#FieldWidth: wide");
    EXPECT_EQ(b.Description[3].size(), 3000u);
}

TEST_F(NativeFile, ColourLinesGoThroughThePaletteReaderWithTheCountClamped) {
    test::WriteBytes(dir / "c.zlf", "#CZ 999\r\n#C1        5       6\r\n");
    ReadNativeFile(b, sb, dir / "c.zlf");
    EXPECT_EQ(sb.Colours.GenColourCount, 256);
    EXPECT_EQ(sb.Colours.GenPalette[10], 6);

    // Mini files carry no colours.
    test::WriteBytes(dir / "c.mlf", "#FileType mini\r\n#CZ  12\r\n#R1 RB5,\r\n");
    const auto rule1 = RuleToString(b, 0, 1);
    ReadNativeFile(b, sb, dir / "c.mlf");
    EXPECT_EQ(sb.Colours.GenColourCount, 256);
    EXPECT_EQ(RuleToString(b, 0, 1), rule1);
}

TEST_F(NativeFile, MissingFileChangesNothingAFailedWriteLeavesNoFileAndStopForLoadStops) {
    b.Description = {"keep"};
    b.Counters.Generation = 50;
    sb.StopForLoad = true;
    const NativeReadResult missing = ReadNativeFile(b, sb, dir / "none.zlf");
    EXPECT_FALSE(missing.found);
    EXPECT_FALSE(missing.stopRun);
    EXPECT_EQ(b.Description, (Lines{"keep"}));
    EXPECT_EQ(b.Counters.Generation, 50);
    EXPECT_THROW(WriteNativeFile(b, sb, dir / "missing" / "x.zlf", NativeKind::Zlf), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    test::WriteBytes(dir / "x.zlf", "#Zentorix\r\n#StopForLoad          0\r\n");
    EXPECT_TRUE(ReadNativeFile(b, sb, dir / "x.zlf").stopRun);
    EXPECT_EQ(b.Counters.Generation, 1);
    EXPECT_TRUE(b.Description.empty());
    EXPECT_EQ(b.CurrentFileName, "x.zlf");
}

}  // namespace
}  // namespace zentorix
