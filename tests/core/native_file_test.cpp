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

constexpr Layer kAllLayers[] = {Layer::Main, Layer::EternalLife, Layer::EternalDead,
                                Layer::OtherReality};

// Every setting a file stores, moved off its start value.
void Customise(Settings& s) {
    s.WindowTop = -1234567;
    s.WindowLeft = 2560;
    s.WindowHeight = 1400;
    s.WindowWidth = 123456;
    s.PagesOpen1 = 3;
    s.PagesOpen2 = 2;
    s.Language = "english.lng";
    s.Grid = false;
    s.Paint = false;
    s.ShowHints = false;
    s.SaveFieldWhenExit = true;
    s.ClearForLoad = false;
    s.StopForLoad = true;
    s.EternalLifeOn = false;
    s.EternalDeadOn = true;
    s.OtherRealityOn = true;
    s.MainLifePaint = false;
    s.EternalLifePaint = true;
    s.EternalDeadPaint = true;
    s.OtherRealPaint = true;
    s.MainLifeRefresh = false;
    s.EternalDeadRefresh = false;
    s.MainLifeErase = false;
    s.OtherRealErase = false;
    s.CopyFromComboBox = 2;
    s.CopyToComboBox = 3;
    s.MainFillRandom = true;
    s.EtenalLifeFillRandom = true;
    s.EtenalDeadFillRandom = true;
    s.OtherRealFillRandom = true;
    s.RandomFillIntensity = 77;
    s.RandomFillPeriod = 9;
    s.LoadFieldSelector = 2;
    s.LoadRulesSelector = 1;
    s.RulesComboBox = 42;
    s.RulesSelectorBox = 2;
    s.GenColorComboBoxText = "Синьо-Червона-64";
    s.ColorComboBoxText = "Ліс";
    s.ColorComboBoxIndex = 3;
    s.AutoScaleY = false;
    s.StatisticScaleX = 7;
    s.StatisticScaleY = 250;
    s.MaxThreshold = 150;
    s.MinThreshold = 20;
    s.AutoStartRecord = true;
    s.StartRecordStatistic = 15;
    s.EndRecordStatistic = 31999;
    s.TransparentMode = true;
    s.AutoStop = true;
    s.SizeBigGrid = 12;
    s.SpeedMain = 250;
    s.SizeCells = 4;
    s.EternalLifePeriod = 5;
    s.EternalLifeIntensity = 3;
    s.EternalDeadPeriod = 6;
    s.EternalDeadIntensity = 2;
    s.Synchronization = true;
    s.SpeedOtherReality = 1234;
    ColourModel& c = s.Colours;
    c.CellColour = 123;
    c.BackgroundColour = 4567;
    c.GridColour = 89;
    c.BigGridColour = 16777215;
    c.BirthColour = 1000;
    c.DeadColour = 2000;
    c.ShowBirthCells = true;
    c.ColorMode = true;
    c.GenColourCount = 200;
    for (int i = 1; i <= kPaletteSize; ++i)
        c.GenPalette[i] = i * 1000 + 7;
}

void FillLayers(World& world, std::uint64_t seed) {
    world.Random.FixSeed(seed);
    for (Layer layer : kAllLayers) {
        StateField& field = world.LayerField(layer);
        for (int x = 0; x <= world.FieldWidth(); ++x)
            for (int y = 0; y <= world.FieldHeight(); ++y)
                field.at(x, y) = world.Random.Below(4) == 0 ? 1 + world.Random.Below(256) : 0;
    }
}

void ExpectLayersEqual(const World& a, const World& b, Layer layer) {
    for (int x = 0; x <= a.FieldWidth(); ++x)
        for (int y = 0; y <= a.FieldHeight(); ++y)
            ASSERT_EQ(a.LayerField(layer).at(x, y), b.LayerField(layer).at(x, y))
                << "layer " << static_cast<int>(layer) << " at " << x << "," << y;
}

void ExpectKeysEqual(const World& wa, const Settings& a, const World& wb, const Settings& b,
                     std::initializer_list<KeyGroup> groups) {
    for (KeyGroup group : groups)
        for (const NativeKey& key : NativeKeys(group))
            if (key.when != ReadWhen::Never) {
                EXPECT_EQ(key.value(wa, a), key.value(wb, b)) << key.written;
            }
}

void ExpectColoursEqual(const ColourModel& a, const ColourModel& b) {
    for (int kind = -2; kind <= 31; ++kind)
        EXPECT_EQ(FormatPaletteLine(a, kind), FormatPaletteLine(b, kind)) << kind;
}

// Lines of a file with the "#DateTime " line (the moment of writing) left out.
std::vector<std::string> StableLines(const std::filesystem::path& path) {
    auto lines = FileLines(path);
    std::erase_if(lines, [](const std::string& l) { return StartsWith(l, "#DateTime "); });
    return lines;
}

std::size_t CountPrefix(const std::vector<std::string>& lines, std::string_view prefix) {
    return static_cast<std::size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return StartsWith(l, prefix); }));
}

bool HasLine(const std::vector<std::string>& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A small experiment: a non-default size, rules, description and every layer filled.
void MakeExperiment(World& world, Settings& settings) {
    world.SetFieldWidth(130);
    world.SetFieldHeight(70);
    Customise(settings);
    FillLayers(world, 11);
    ParseRuleString(world, "#R NW2,NN-3,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX2,2N2W5,HI7,RB3,RB-4,RS2",
                    kFamilyZentorix, 0);
    ParseRuleString(world, "#R NW1,NN1,NE1,WW1,ME1,EE1,SW1,SS1,SE1,EX0,HI0,RB1,RS1,RS5",
                    kFamilyZentorix, 1);
    ParseRuleString(world, "#R NW0,NN1,NE0,WW1,ME0,EE1,SW0,SS1,SE0,EX0,HI3,RB2", kFamilyZentorix,
                    2);
    world.Description = {"Перший рядок", "", "second line"};
}

TEST(NativeFile, QsaveRestoresEveryLayerRuleAndSettingItStores) {
    TempFolder dir;
    World a;
    Settings sa;
    MakeExperiment(a, sa);
    const auto path = WriteNativeFile(a, sa, dir / "snap.jpg", NativeKind::Qsave);
    EXPECT_EQ(path.filename(), "snap.qlf");

    World b;
    Settings sb;
    sb.ClearForLoad = false;  // a quick save replaces the layers all the same
    b.EternalLifeField.at(-2, -2) = 9;
    b.OtherRealityField.at(131, 71) = 9;
    const NativeReadResult r = ReadNativeFile(b, sb, path);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.kind, NativeKind::Qsave);
    EXPECT_FALSE(r.languageRead);

    EXPECT_EQ(b.FieldWidth(), 130);
    EXPECT_EQ(b.FieldHeight(), 70);
    ExpectKeysEqual(a, sa, b, sb,
                    {KeyGroup::InterfaceSize, KeyGroup::Land, KeyGroup::Museum, KeyGroup::Rules,
                     KeyGroup::Color, KeyGroup::Statistic, KeyGroup::Option, KeyGroup::EternalLife,
                     KeyGroup::EternalDead, KeyGroup::OtherReality});
    ExpectColoursEqual(sa.Colours, sb.Colours);
    for (Layer layer : kAllLayers)
        ExpectLayersEqual(a, b, layer);
    EXPECT_EQ(b.EternalLifeField.at(-2, -2), 0);
    EXPECT_EQ(b.OtherRealityField.at(131, 71), 0);
    for (int set = 0; set < 3; ++set)
        EXPECT_EQ(RuleToString(a, 0, set), RuleToString(b, 0, set)) << set;
    EXPECT_EQ(b.Description, a.Description);
    EXPECT_EQ(b.CurrentFileName, "snap.qlf");

    // The interface keys belong to ini files only.
    EXPECT_TRUE(sb.Grid);
    EXPECT_EQ(sb.WindowTop, Settings{}.WindowTop);
    EXPECT_TRUE(sb.Language.empty());
}

TEST(NativeFile, IniRestoresTheInterfaceAndKeepsItsName) {
    TempFolder dir;
    World a;
    Settings sa;
    MakeExperiment(a, sa);
    const auto path = WriteNativeFile(a, sa, dir / "Zentorix.ini", NativeKind::Ini);
    EXPECT_EQ(path.filename(), "Zentorix.ini");
    const auto lines = FileLines(path);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "#Zentorix configuration file");
    EXPECT_EQ(lines[1], "#FileType ini");
    EXPECT_TRUE(HasLine(lines, "#WindowTop:           -1234567"));
    EXPECT_TRUE(HasLine(lines, "#Language             english.lng"));

    World b;
    Settings sb;
    const NativeReadResult r = ReadNativeFile(b, sb, path);
    EXPECT_EQ(r.kind, NativeKind::Ini);
    EXPECT_TRUE(r.languageRead);
    EXPECT_EQ(b.CurrentFileName, "new.zlf");
    ExpectKeysEqual(
        a, sa, b, sb,
        {KeyGroup::InterfaceSize, KeyGroup::InterfaceIni, KeyGroup::Land, KeyGroup::Museum,
         KeyGroup::Rules, KeyGroup::Color, KeyGroup::Statistic, KeyGroup::Option,
         KeyGroup::EternalLife, KeyGroup::EternalDead, KeyGroup::OtherReality});
    EXPECT_EQ(sb.WindowWidth, 123456);
    for (Layer layer : kAllLayers)
        ExpectLayersEqual(a, b, layer);

    sa.SaveFieldWhenExit = false;
    const auto bare = FileLines(WriteNativeFile(a, sa, dir / "Zentorix.ini", NativeKind::Ini));
    for (Layer layer : kAllLayers)
        EXPECT_EQ(CountPrefix(bare, FieldSectionPrefix(layer)), 0u);
    EXPECT_FALSE(HasLine(bare, "[Main Field]"));
    EXPECT_TRUE(HasLine(bare, "[Color Settings]"));
}

TEST(NativeFile, ZlfWithEverySaveBoxOffHoldsSizeDescriptionRulesAndMainFieldOnly) {
    TempFolder dir;
    World a;
    a.SetFieldWidth(30);
    a.SetFieldHeight(25);
    a.MainField.at(2, 1) = 1;
    a.EternalLifeField.at(3, 3) = 1;
    a.Description = {"one"};
    Settings sa;
    Customise(sa);
    const auto path = WriteNativeFile(a, sa, dir / "exp", NativeKind::Zlf);
    const std::vector<std::string> expected = {
        "#Zentorix",
        "#FileName exp.zlf",
        "#FileType zlf",
        "[Interface]",
        "#FieldHeight:         25",
        "#FieldWidth:          30",
        "[Description]",
        "#D one",
        "",
        "[Rules Settings]",
        "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,",
        "#R1 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI3,EX0,RB2,",
        "#R2 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,",
        "",
        "",
        "[Main Field]",
        "#L $2.A",
        "",
    };
    EXPECT_EQ(StableLines(path), expected);
    EXPECT_TRUE(StartsWith(FileLines(path).at(3), "#DateTime "));

    // Reading it changes no switch of the pages it does not carry.
    World b;
    Settings sb;
    const Settings untouched;
    World fresh;
    ReadNativeFile(b, sb, path);
    ExpectKeysEqual(fresh, untouched, b, sb,
                    {KeyGroup::Land, KeyGroup::Museum, KeyGroup::Rules, KeyGroup::Color,
                     KeyGroup::Statistic, KeyGroup::Option, KeyGroup::EternalLife,
                     KeyGroup::EternalDead, KeyGroup::OtherReality, KeyGroup::InterfaceIni});
    ExpectColoursEqual(untouched.Colours, sb.Colours);
    EXPECT_EQ(b.MainField.at(2, 1), 1);
    EXPECT_EQ(b.EternalLifeField.at(3, 3), 0);
}

TEST(NativeFile, ZlfSaveBoxesAddTheirSectionsInOrder) {
    TempFolder dir;
    World a;
    Settings experiment;
    MakeExperiment(a, experiment);
    Settings s;
    s.SetSaveReal2CheckBox(true);
    EXPECT_TRUE(s.SaveLandCheckBox);
    s.SaveMuseumCheckBox = s.SaveRulesCheckBox = s.SaveColorPCheckBox = true;
    s.SaveStatCheckBox = s.SaveOptionCheckBox = s.SaveColorCheckBox = true;
    s.SaveBirthCheckBox = s.SaveDeathCheckBox = true;
    const auto lines = FileLines(WriteNativeFile(a, s, dir / "all.zlf", NativeKind::Zlf));
    std::vector<std::string> headings;
    for (const auto& l : lines)
        if (StartsWith(l, "["))
            headings.push_back(l);
    EXPECT_EQ(headings, (std::vector<std::string>{
                            "[Interface]", "[Land]", "[Museum]", "[Rules]", "[Color]",
                            "[Statistic]", "[Option]", "[Description]", "[Rules Settings]",
                            "[Color Settings]", "[Main Field]", "[Eternal Life Field]",
                            "[Eternal Dead Field]", "[Other Reality Field]"}));
    EXPECT_EQ(CountPrefix(lines, "#WindowTop"), 0u);
    EXPECT_TRUE(HasLine(lines, "#RulesComboBox        -1"));

    // With every box checked a zlf file carries what a quick save does.
    World b;
    Settings sb;
    ReadNativeFile(b, sb, dir / "all.zlf");
    ExpectKeysEqual(a, s, b, sb,
                    {KeyGroup::InterfaceSize, KeyGroup::Land, KeyGroup::Museum, KeyGroup::Rules,
                     KeyGroup::Color, KeyGroup::Statistic, KeyGroup::Option, KeyGroup::EternalLife,
                     KeyGroup::EternalDead, KeyGroup::OtherReality});
    ExpectColoursEqual(s.Colours, sb.Colours);
    for (Layer layer : kAllLayers)
        ExpectLayersEqual(a, b, layer);
    for (int set = 0; set < 3; ++set)
        EXPECT_EQ(RuleToString(a, 0, set), RuleToString(b, 0, set)) << set;

    // Only the Other Reality box: its section and the landscape page, nothing else.
    Settings only;
    only.SetSaveReal2CheckBox(true);
    const auto some = FileLines(WriteNativeFile(a, only, dir / "or.zlf", NativeKind::Zlf));
    EXPECT_TRUE(HasLine(some, "[Land]"));
    EXPECT_TRUE(HasLine(some, "[Other Reality Field]"));
    EXPECT_FALSE(HasLine(some, "[Eternal Life Field]"));
    EXPECT_GT(CountPrefix(some, "#LR "), 0u);
    EXPECT_EQ(CountPrefix(some, "#LB "), 0u);
}

TEST(NativeFile, MiniPutsSelectionAndRuleIntoTheChosenLayerAndRuleSet) {
    TempFolder dir;
    World a;
    Settings sa;
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
    const auto lines = FileLines(path);
    EXPECT_EQ(CountPrefix(lines, "#DateTime"), 0u);
    EXPECT_FALSE(HasLine(lines, "[Description]"));
    EXPECT_TRUE(HasLine(lines, "#D glider"));
    EXPECT_EQ(CountPrefix(lines, "#R0 "), 1u);
    EXPECT_EQ(CountPrefix(lines, "#R1 ") + CountPrefix(lines, "#R2 "), 0u);
    EXPECT_EQ(CountPrefix(lines, "#C"), 0u);
    EXPECT_TRUE(HasLine(lines, "#FileType mini"));

    World b;
    Settings sb;
    sb.LoadFieldSelector = 1;
    sb.LoadRulesSelector = 2;
    sb.ClearForLoad = true;
    b.MainField.at(5, 5) = 3;
    b.EternalDeadField.at(7, 7) = 1;
    b.OtherRealityField.at(8, 8) = 1;
    const std::string rule0 = RuleToString(b, 0, 0);
    const NativeReadResult r = ReadNativeFile(b, sb, path);
    EXPECT_EQ(r.kind, NativeKind::Mini);

    EXPECT_EQ(b.FieldWidth(), 60);
    EXPECT_EQ(test::LiveCells(b.EternalLifeField, -3, -3, 61, 41),
              (std::vector<std::pair<int, int>>{{0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}}));
    EXPECT_TRUE(test::LiveCells(b.EternalDeadField, -3, -3, 1001, 1001).empty());
    EXPECT_TRUE(test::LiveCells(b.OtherRealityField, -3, -3, 1001, 1001).empty());
    EXPECT_EQ(b.MainField.at(5, 5), 3);
    EXPECT_EQ(RuleToString(b, 0, 2), RuleToString(a, 0, 0));
    EXPECT_EQ(RuleToString(b, 0, 0), rule0);
    EXPECT_EQ(b.Description, a.Description);
}

TEST(NativeFile, ZlfReadWithoutClearForLoadAddsItsLiveCells) {
    TempFolder dir;
    World a;
    Settings sa;
    sa.SaveBirthCheckBox = true;
    a.MainField.at(5, 5) = 3;
    a.EternalLifeField.at(9, 9) = 1;
    const auto path = WriteNativeFile(a, sa, dir / "merge.zlf", NativeKind::Zlf);

    World b;
    Settings sb;
    sb.ClearForLoad = false;
    b.MainField.at(6, 6) = 7;
    b.MainField.at(-2, -2) = 1;
    b.EternalLifeField.at(1, 1) = 1;
    b.EternalDeadField.at(2, 2) = 1;
    ReadNativeFile(b, sb, path);
    EXPECT_EQ(b.MainField.at(5, 5), 3);
    EXPECT_EQ(b.MainField.at(6, 6), 7);
    EXPECT_EQ(b.MainField.at(-2, -2), 1);
    EXPECT_EQ(b.EternalLifeField.at(9, 9), 1);
    EXPECT_EQ(b.EternalLifeField.at(1, 1), 1);
    EXPECT_EQ(b.EternalDeadField.at(2, 2), 1);

    // With ClearForLoad the Main Field is replaced and the landscape emptied first.
    sb.ClearForLoad = true;
    ReadNativeFile(b, sb, path);
    EXPECT_EQ(b.MainField.at(6, 6), 0);
    EXPECT_EQ(b.MainField.at(-2, -2), 0);
    EXPECT_EQ(b.EternalLifeField.at(1, 1), 0);
    EXPECT_EQ(b.EternalDeadField.at(2, 2), 0);
    EXPECT_EQ(b.EternalLifeField.at(9, 9), 1);
}

TEST(NativeFile, QsaveReplacesAllFourLayersWhateverClearForLoadSays) {
    TempFolder dir;
    test::WriteBytes(dir / "q.qlf", "#Zentorix\r\n#FileType qsave\r\n#L $$3A\r\n#LB 2.B\r\n");
    World b;
    Settings sb;
    sb.ClearForLoad = false;
    for (Layer layer : kAllLayers)
        b.LayerField(layer).at(20, 20) = 4;
    ReadNativeFile(b, sb, dir / "q.qlf");
    EXPECT_EQ(test::LiveCells(b.MainField, -11, -11, 1001, 1001),
              (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(test::LiveCells(b.EternalLifeField, -3, -3, 1001, 1001),
              (std::vector<std::pair<int, int>>{{2, 0}}));
    EXPECT_EQ(b.EternalLifeField.at(2, 0), 2);
    EXPECT_TRUE(test::LiveCells(b.EternalDeadField, -3, -3, 1001, 1001).empty());
    EXPECT_TRUE(test::LiveCells(b.OtherRealityField, -3, -3, 1001, 1001).empty());
}

TEST(NativeFile, RuleTextIsCutIntoPiecesOf77Characters) {
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
    EXPECT_EQ(cut(0), (std::vector<std::size_t>{}));
    EXPECT_EQ(cut(76), (std::vector<std::size_t>{76}));
    EXPECT_EQ(cut(77), (std::vector<std::size_t>{77, 0}));
    EXPECT_EQ(cut(78), (std::vector<std::size_t>{77, 1}));
    EXPECT_EQ(cut(154), (std::vector<std::size_t>{77, 77, 0}));
}

TEST(NativeFile, RuleOf154CharactersReadsBackUnchanged) {
    TempFolder dir;
    World a;
    std::string rule = "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,";
    for (int sum = 10; sum < 32; ++sum)
        rule += "RB" + std::to_string(sum) + ",";
    ParseRuleString(a, rule, kFamilyZentorix, 0);
    ASSERT_EQ(RuleToString(a, 0, 0).size(), 154u);
    Settings s;
    const auto path = WriteNativeFile(a, s, dir / "long.zlf", NativeKind::Zlf);
    const auto lines = FileLines(path);
    std::vector<std::size_t> pieces;
    for (const auto& line : lines)
        if (StartsWith(line, "#R0 "))
            pieces.push_back(line.size());
    EXPECT_EQ(pieces, (std::vector<std::size_t>{81, 81, 4}));

    World b;
    Settings sb;
    ReadNativeFile(b, sb, path);
    EXPECT_EQ(RuleToString(b, 0, 0), RuleToString(a, 0, 0));
}

TEST(NativeFile, SpeedZeroIsStoredAsOneAndTheTrackBarFollows) {
    TempFolder dir;
    World a;
    Settings s;
    s.SpeedMain = 0;
    const Settings& constant = s;
    const auto written = FileLines(WriteNativeFile(a, constant, dir / "a.qlf", NativeKind::Qsave));
    EXPECT_TRUE(HasLine(written, "#SpeedMain            1"));
    EXPECT_EQ(s.SpeedMain, 0);  // the plain writer leaves the setting alone

    const auto saved = FileLines(SaveNativeFile(a, s, dir / "b.qlf", NativeKind::Qsave));
    EXPECT_TRUE(HasLine(saved, "#SpeedMain            1"));
    EXPECT_EQ(s.SpeedMain, 1);
}

TEST(NativeFile, OlderFilesInWindows1251WithKeysAnywhereAndSectionsMissing) {
    TempFolder dir;
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
    World b;
    Settings sb;
    sb.AutoStop = true;
    const NativeReadResult r = ReadNativeFile(b, sb, dir / "old.zlf");
    EXPECT_EQ(r.kind, NativeKind::Zlf);
    EXPECT_EQ(b.FieldWidth(), 40);
    EXPECT_EQ(b.FieldHeight(), 140);  // absent: as it was
    EXPECT_TRUE(sb.EternalDeadOn);
    EXPECT_FALSE(sb.AutoStop);
    EXPECT_TRUE(sb.Grid);  // an ini-only key in a zlf file
    EXPECT_EQ(b.Description, (std::vector<std::string>{"Привіт"}));
    EXPECT_EQ(b.Rules[0].BirthList, (std::vector<std::int32_t>{3, 6}));
    EXPECT_EQ(b.Rules[0].SurvivalList, (std::vector<std::int32_t>{2, 3}));
    EXPECT_EQ(test::LiveCells(b.MainField, -3, -3, 41, 141),
              (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}, {4, 0}}));
}

TEST(NativeFile, MalformedNumberStopsTheLoadKeepingWhatWasAppliedBefore) {
    TempFolder dir;
    test::WriteBytes(dir / "bad.qlf",
                     "#Zentorix\r\n#FileType qsave\r\n"
                     "#D kept\r\n"
                     "#AutoStop             1\r\n"
                     "#SpeedMain            fast\r\n"
                     "#TransparentMode      1\r\n"
                     "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB1,\r\n"
                     "#L 5A\r\n");
    World b;
    Settings sb;
    b.MainField.at(20, 20) = 2;
    b.EternalLifeField.at(20, 20) = 1;
    const std::string rule0 = RuleToString(b, 0, 0);
    try {
        ReadNativeFile(b, sb, dir / "bad.qlf");
        FAIL() << "no error";
    } catch (const FormatError& e) {
        EXPECT_STREQ(e.what(), "'fast' is not a valid integer value");
    }
    EXPECT_TRUE(sb.AutoStop);
    EXPECT_EQ(sb.SpeedMain, 1);
    EXPECT_FALSE(sb.TransparentMode);
    EXPECT_EQ(b.Description, (std::vector<std::string>{"kept"}));
    EXPECT_EQ(RuleToString(b, 0, 0), rule0);
    EXPECT_EQ(b.MainField.at(20, 20), 2);
    EXPECT_EQ(b.MainField.at(0, 0), 0);
    EXPECT_EQ(b.EternalLifeField.at(20, 20), 1);
}

TEST(NativeFile, SwitchAndColumnRulesOfKeyLines) {
    TempFolder dir;
    test::WriteBytes(dir / "keys.ini",
                     "#FileType ini\r\n"
                     "#Grid                 0\r\n"
                     "#ShowHints            0 but 1 later\r\n"
                     "#Paint                0 1\r\n"
                     "#RulesSelectorBox    2\r\n"
                     "#RulesComboBox        77\r\n"
                     "#ColorComboBoxIndex   123456\r\n"
                     "#SizeCells            99\r\n"
                     "#RandomFillPeriod     0\r\n");
    World b;
    Settings sb;
    b.Editor.EditedRuleSet = 1;
    ReadNativeFile(b, sb, dir / "keys.ini");
    EXPECT_FALSE(sb.Grid);
    EXPECT_TRUE(sb.ShowHints);
    EXPECT_FALSE(sb.Paint);  // the tool reads the value column only
    EXPECT_EQ(sb.RulesSelectorBox, 2);
    EXPECT_EQ(b.Editor.EditedRuleSet, 1);
    EXPECT_EQ(sb.RulesComboBox, -1);
    EXPECT_EQ(sb.ColorComboBoxIndex, 123456);
    EXPECT_EQ(sb.SizeCells, sb.CellSize);
    EXPECT_EQ(sb.RandomFillPeriod, 1);
    EXPECT_EQ(b.CurrentFileName, "new.zlf");

    test::WriteBytes(dir / "on.ini", "#FileType ini\r\n#Grid                 1\r\n");
    ReadNativeFile(b, sb, dir / "on.ini");
    EXPECT_TRUE(sb.Grid);

    // A number split by a blank is not a number.
    test::WriteBytes(dir / "split.zlf", "#SpeedMain            12 34\r\n");
    EXPECT_THROW(
        {
            try {
                ReadNativeFile(b, sb, dir / "split.zlf");
            } catch (const FormatError& e) {
                EXPECT_EQ(e.Text(), "12 34");
                throw;
            }
        },
        FormatError);
}

TEST(NativeFile, FieldSizesFromAFileStayWithin25And997) {
    TempFolder dir;
    World b;
    Settings sb;
    test::WriteBytes(dir / "s.zlf", "#FieldWidth:          10\r\n#FieldHeight:         998\r\n");
    ReadNativeFile(b, sb, dir / "s.zlf");
    EXPECT_EQ(b.FieldWidth(), 25);
    EXPECT_EQ(b.FieldHeight(), 997);
    test::WriteBytes(dir / "s.zlf",
                     "#FieldWidth:          2000000000\r\n#FieldHeight:         -5\r\n");
    ReadNativeFile(b, sb, dir / "s.zlf");
    EXPECT_EQ(b.FieldWidth(), 997);
    EXPECT_EQ(b.FieldHeight(), 25);
}

TEST(NativeFile, DescriptionTextNeverActsAsAKey) {
    TempFolder dir;
    World a;
    Settings sa;
    a.Description = {"#FieldWidth: wide", "#FileType mini", "#AutoStop 1", std::string(3500, 'x')};
    const auto path = WriteNativeFile(a, sa, dir / "d.zlf", NativeKind::Zlf);
    World b;
    Settings sb;
    const NativeReadResult r = ReadNativeFile(b, sb, path);
    EXPECT_EQ(r.kind, NativeKind::Zlf);
    EXPECT_FALSE(sb.AutoStop);
    ASSERT_EQ(b.Description.size(), 4u);
    EXPECT_EQ(b.Description[0], "#FieldWidth: wide");
    EXPECT_EQ(b.Description[3].size(), 3000u);
}

TEST(NativeFile, ColourLinesGoThroughThePaletteReaderWithTheCountClamped) {
    TempFolder dir;
    test::WriteBytes(dir / "c.zlf", "#CZ 999\r\n#C1        5       6\r\n");
    World b;
    Settings sb;
    ReadNativeFile(b, sb, dir / "c.zlf");
    EXPECT_EQ(sb.Colours.GenColourCount, 256);
    EXPECT_EQ(sb.Colours.GenPalette[9], 5);
    EXPECT_EQ(sb.Colours.GenPalette[10], 6);

    test::WriteBytes(dir / "c.zlf", "#CZ   0\r\n");
    ReadNativeFile(b, sb, dir / "c.zlf");
    EXPECT_EQ(sb.Colours.GenColourCount, 1);

    // Mini files carry no colours.
    test::WriteBytes(dir / "c.mlf", "#FileType mini\r\n#CZ  12\r\n#R1 RB5,\r\n");
    const auto rule1 = RuleToString(b, 0, 1);
    ReadNativeFile(b, sb, dir / "c.mlf");
    EXPECT_EQ(sb.Colours.GenColourCount, 1);
    EXPECT_EQ(RuleToString(b, 0, 1), rule1);
}

TEST(NativeFile, MissingFileChangesNothingAndStopForLoadStopsTheRun) {
    TempFolder dir;
    World b;
    Settings sb;
    b.Description = {"keep"};
    b.Counters.Generation = 50;
    sb.StopForLoad = true;
    const NativeReadResult missing = ReadNativeFile(b, sb, dir / "none.zlf");
    EXPECT_FALSE(missing.found);
    EXPECT_FALSE(missing.stopRun);
    EXPECT_EQ(b.Description, (std::vector<std::string>{"keep"}));
    EXPECT_EQ(b.Counters.Generation, 50);

    test::WriteBytes(dir / "x.zlf", "#Zentorix\r\n#StopForLoad          0\r\n");
    const NativeReadResult r = ReadNativeFile(b, sb, dir / "x.zlf");
    EXPECT_TRUE(r.stopRun);
    EXPECT_EQ(b.Counters.Generation, 1);
    EXPECT_TRUE(b.Description.empty());
    EXPECT_EQ(b.CurrentFileName, "x.zlf");
}

TEST(NativeFile, AFailedWriteLeavesNoFileBehind) {
    TempFolder dir;
    World a;
    Settings s;
    EXPECT_THROW(WriteNativeFile(a, s, dir / "missing" / "x.zlf", NativeKind::Zlf), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace zentorix
