#include "formats/native_file.h"
#include "core/format_test_support.h"
#include "formats/field_section.h"
#include "formats/key_lines.h"
#include "formats/native_keys.h"

namespace zentorix {
namespace {

using namespace test;

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
    std::istringstream values(
        "WindowTop: -1234567 WindowLeft: 2560 WindowHeight: 1400 WindowWidth: 123456 PagesOpen1 3 "
        "PagesOpen2 2 Language english.lng CopyFromComboBox 2 CopyToComboBox 3 "
        "RandomFillIntensity 77 RandomFillPeriod 9 LoadFieldSelector 2 LoadRulesSelector 1 "
        "GenColorComboBoxText Синьо-Червона-64 ColorComboBoxText Ліс ColorComboBoxIndex 3 "
        "StatisticScaleX 7 StatisticScaleY 250 MaxThreshold 150 MinThreshold 20 "
        "StartRecordStatistic 15 EndRecordStatistic 31999 SizeBigGrid 12 SpeedMain 250 "
        "SizeCells 4 EternalLifePeriod 5 EternalLifeIntensity 3 EternalDeadPeriod 6 "
        "EternalDeadIntensity 2 SpeedOtherReality 1234");
    for (std::string key, value; values >> key >> value;)
        ApplyKeyLine(state, KeyLine("#" + key, value));
    s.RulesSelectorBox = 2;  // read from a column of its own
    s.SaveFieldWhenExit = true;
    ColourModel& c = s.Colours;
    std::tie(c.ShowBirthCells, c.ColorMode, c.CellColour, c.BackgroundColour, c.GridColour,
             c.BigGridColour, c.BirthColour, c.DeadColour, c.GenColourCount) =
        std::tuple(true, true, 123, 4567, 89, 16777215, 1000, 2000, 200);
    for (int i = 1; i <= kPaletteSize; ++i)
        c.GenPalette[i] = i * 1000 + 7;
}

// A non-default size, description and rules (set 2 of 154 characters, which the
// writer cuts into two full pieces and an empty one), every layer filled.
void MakeExperiment(World& world, Settings& settings) {
    SetFieldSize(world, 130, 70);
    Customise(world, settings);
    world.Random.FixSeed(11);
    for (Layer layer : kAllLayers)
        for (int x = 0; x <= world.FieldWidth(); ++x)
            for (int y = 0; y <= world.FieldHeight(); ++y)
                world.LayerField(layer).at(x, y) =
                    world.Random.Below(4) == 0 ? 1 + world.Random.Below(264) : 0;
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

// The values of the settings pages' keys (which every kind but mini may carry),
// of the other groups' keys and of the colours are the same.
void ExpectSettingsEqual(const World& wa, const Settings& a, const World& wb, const Settings& b,
                         std::vector<KeyGroup> groups) {
    groups.insert(groups.end(), {KeyGroup::Land, KeyGroup::Museum, KeyGroup::Rules, KeyGroup::Color,
                                 KeyGroup::Statistic, KeyGroup::Option, KeyGroup::EternalLife,
                                 KeyGroup::EternalDead, KeyGroup::OtherReality});
    for (KeyGroup group : groups)
        for (const NativeKey& key : NativeKeys(group))
            if (key.when != ReadWhen::Never) {
                EXPECT_EQ(key.value(wa, a), key.value(wb, b)) << key.written;
            }
    for (int kind = -2; kind <= 31; ++kind)
        EXPECT_EQ(FormatPaletteLine(a.Colours, kind), FormatPaletteLine(b.Colours, kind)) << kind;
}

// A folder, an experiment to write and a world with its settings to read into.
struct NativeFile : ::testing::Test {
    TempFolder dir;
    World a, b;
    Settings sa, sb;

    // Writes the bytes as the named file and reads it into b and sb.
    NativeReadResult Load(const std::string& name, const std::string& bytes) {
        return ReadNativeFile(b, sb, dir.Write(name, bytes));
    }
    std::string LoadError(const std::string& name, const std::string& bytes) {
        return ErrorOf([&] { Load(name, bytes); });
    }
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
        EXPECT_EQ(std::tuple(r.found, r.kind, r.languageRead), std::tuple(true, kind, ini));
        EXPECT_EQ(b.CurrentFileName, ini ? "new.zlf" : qsave ? "snap.qlf" : "snap.zlf");
        ExpectSettingsEqual(a, s, b, sb, {KeyGroup::InterfaceSize});
        for (const NativeKey& key : NativeKeys(KeyGroup::InterfaceIni))
            EXPECT_EQ(key.value(b, sb), key.value(a, ini ? sa : before)) << key.written;
        for (Layer layer : kAllLayers) {
            // ClearForLoad empties all four layers first; a quick save does so anyway.
            States expected = Staged(a.LayerField(layer));
            if (ini)
                expected.insert(expected.begin(), {-2, -2, 9});
            EXPECT_EQ(Staged(b.LayerField(layer)), expected) << "layer " << static_cast<int>(layer);
        }
        for (int set = 0; set < 3; ++set)
            EXPECT_EQ(RuleToString(a, 0, set), RuleToString(b, 0, set)) << set;
        EXPECT_EQ(b.Description, a.Description);
        // Rule text is cut into pieces of 77, one that ends at a cut followed by
        // an empty piece.
        EXPECT_EQ(LineSizes(FileLines(path), "#R2 "), (Sizes{81, 81, 4}));
    }

    // The ini file holds the layers only when they are kept at exit.
    sa.SaveFieldWhenExit = false;
    const auto bare = FileLines(WriteNativeFile(a, sa, dir / "Zentorix.ini", NativeKind::Ini));
    for (Layer layer : kAllLayers)
        EXPECT_EQ(LineSizes(bare, FieldSectionPrefix(layer)), Sizes{});
    EXPECT_EQ(std::ranges::count(bare, "[Main Field]"), 0);
    EXPECT_EQ(std::ranges::count(bare, "[Color Settings]"), 1);
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
    EXPECT_EQ(std::tuple(b.MainField.at(2, 1), b.EternalLifeField.at(3, 3)), std::tuple(1, 0));

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

// A mini file carries no colours, no date, no description and no rule sets but
// its own, which the reader puts into the chosen set.
TEST_F(NativeFile, MiniPutsSelectionAndRuleIntoTheChosenLayerAndRuleSet) {
    SetFieldSize(a, 60, 40);
    Draw(a.MainField, 10, 20, {".*.", "..*", "***"});
    a.MainField.at(30, 30) = 5;  // outside the selection
    a.Selection = {10, 20, 12, 22};
    ParseRuleString(a, "#R NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,RB6,RS2,RS3",
                    kFamilyZentorix, 0);
    a.Description = {"glider"};
    const auto path = WriteNativeFile(a, sa, dir / "glider.txt", NativeKind::Mini);
    EXPECT_EQ(path.filename(), "glider.mlf");
    // The reader skips these in a mini file, so only the writer can be asked.
    for (const char* absent : {"#DateTime", "[Description]", "#R1 ", "#R2 ", "#C"})
        EXPECT_EQ(LineSizes(FileLines(path), absent), Sizes{}) << absent;

    sb.LoadFieldSelector = 1;
    sb.LoadRulesSelector = 2;
    b.MainField.at(5, 5) = 3;
    const std::string rule0 = RuleToString(b, 0, 0), rule1 = RuleToString(b, 0, 1);
    EXPECT_EQ(ReadNativeFile(b, sb, path).kind, NativeKind::Mini);
    EXPECT_EQ(std::tuple(CellText(b.EternalLifeField), CellText(b.MainField)),
              std::tuple("0,2 1,0 1,2 2,1 2,2", "5,5=3"));
    EXPECT_EQ(std::tuple(RuleToString(b, 0, 2), RuleToString(b, 0, 0)),
              std::tuple(RuleToString(a, 0, 0), rule0));

    // Even a hand-written one: its colour and rule set 1 lines are skipped.
    sb.Colours.GenColourCount = 256;
    Load("c.mlf", "#FileType mini\r\n#CZ  12\r\n#R1 RB5,\r\n");
    EXPECT_EQ(std::tuple(sb.Colours.GenColourCount, RuleToString(b, 0, 1)), std::tuple(256, rule1));
}

// Speed 0 is stored as 1, and the save (not the plain writer) moves the track
// bar there too.
TEST_F(NativeFile, SpeedZeroIsSavedAsOne) {
    sa.SpeedMain = 0;
    for (const bool save : {false, true}) {
        const auto lines =
            FileLines(save ? SaveNativeFile(a, sa, dir / "a.qlf", NativeKind::Qsave)
                           : WriteNativeFile(a, sa, dir / "a.qlf", NativeKind::Qsave));
        EXPECT_EQ(std::tuple(std::ranges::count(lines, "#SpeedMain            1"), sa.SpeedMain),
                  std::tuple(1l, save ? 1 : 0));
    }
}

TEST_F(NativeFile, OlderFilesInWindows1251WithKeysAnywhereAndSectionsMissing) {
    // No kind line (read as zlf), CR LF, Cyrillic in Windows-1251, keys after other
    // text or another "#" or without their colon, a switch with its "1" far from the value column.
    sb.AutoStop = true;
    EXPECT_EQ(Load("old.zlf",
                   "#Zentorix\r\n#FieldWidth           40\r\n"
                   "xx#EternalDeadOn      0   (was 1)\r\n##AutoStop            0\r\n"
                   "#Grid                 0\r\n#D \xCF\xF0\xE8\xE2\xB3\xF2\r\n"
                   "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB3,\r\n"
                   "#R0 RB6,RS2,RS3\r\n#L 2.3A\r\n")
                  .kind,
              NativeKind::Zlf);
    // The height is absent, so as it was; the grid switch is an ini-only key.
    EXPECT_EQ(std::tuple(b.FieldWidth(), b.FieldHeight(), sb.EternalDeadOn, sb.AutoStop, sb.Grid),
              std::tuple(40, 140, true, false, true));
    EXPECT_EQ(b.Description, (Lines{"Привіт"}));
    EXPECT_EQ(b.Rules[0].BirthList, (Sums{3, 6}));  // from both pieces
    EXPECT_EQ(AllLive(b.MainField), (Cells{{2, 0}, {3, 0}, {4, 0}}));
}

TEST_F(NativeFile, MalformedNumberMissingFileFailedWriteAndStopForLoad) {
    b.MainField.at(20, 20) = 2;
    b.EternalLifeField.at(20, 20) = 1;
    EXPECT_EQ(LoadError("bad.qlf",
                        "#Zentorix\r\n#FileType qsave\r\n#D kept\r\n"
                        "#AutoStop             1\r\n#SpeedMain            fast\r\n"
                        "#TransparentMode      1\r\n"
                        "#R0 NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,EX0,HI0,RB1,\r\n#L 5A\r\n"),
              "'fast' is not a valid integer value");
    EXPECT_EQ(std::tuple(sb.AutoStop, sb.SpeedMain, sb.TransparentMode, b.Description[0]),
              std::tuple(true, 1, false, "kept"));
    EXPECT_EQ(std::tuple(Staged(b.MainField), Staged(b.EternalLifeField)),
              std::tuple(States{{20, 20, 2}}, States{{20, 20, 1}}));
    // A number split by a blank is not a number.
    EXPECT_EQ(LoadError("split.zlf", "#SpeedMain            12 34\r\n"),
              "'12 34' is not a valid integer value");

    // A missing file changes nothing; a failed write leaves no file.
    b.Description = {"keep"};
    b.Counters.Generation = 50;
    sb.StopForLoad = true;
    const NativeReadResult missing = ReadNativeFile(b, sb, dir / "none.zlf");
    EXPECT_EQ(std::tuple(missing.found, missing.stopRun, b.Counters.Generation, b.Description[0]),
              std::tuple(false, false, 50, "keep"));
    EXPECT_THROW(WriteNativeFile(b, sb, dir / "missing" / "x.zlf", NativeKind::Zlf), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    // StopForLoad (as it was before the read) stops the run.
    EXPECT_TRUE(Load("x.zlf", "#Zentorix\r\n#StopForLoad          0\r\n").stopRun);
    EXPECT_EQ(std::tuple(b.Counters.Generation, b.Description.empty(), b.CurrentFileName),
              std::tuple(1, true, "x.zlf"));
}

// Description text never acts as a key. Switches take a "1" anywhere, the drawing
// tool only in the value column; some keys are read from a column of their own or
// not at all; field sizes stay within 25..997; colour lines go through the palette
// reader with the count clamped.
TEST_F(NativeFile, KeyLinesDescriptionSwitchesColumnsSizesAndColours) {
    a.Description = {"#FieldWidth: wide", "#FileType mini", "#AutoStop 1"};
    const auto path = WriteNativeFile(a, sa, dir / "d.zlf", NativeKind::Zlf);
    EXPECT_EQ(ReadNativeFile(b, sb, path).kind, NativeKind::Zlf);
    EXPECT_EQ(std::tuple(sb.AutoStop, b.Description), std::tuple(false, a.Description));

    b.Editor.EditedRuleSet = 1;
    Load("keys.ini",
         "#FileType ini\r\n#Grid                 0\r\n"
         "#ShowHints            0 but 1 later\r\n#Paint                0 1\r\n"
         "#RulesSelectorBox    2\r\n#RulesComboBox        77\r\n#SizeCells            99\r\n");
    EXPECT_EQ(std::tuple(sb.Grid, sb.ShowHints, sb.Paint, sb.RulesSelectorBox,
                         b.Editor.EditedRuleSet, sb.RulesComboBox, sb.SizeCells),
              std::tuple(false, true, false, 2, 1, -1, int{sb.CellSize}));

    // Each size differs from the one before, so a value not read shows.
    const std::pair<const char*, int> sizes[] = {
        {"10", 25}, {"998", 997}, {"-5", 25}, {"2000000000", 997}, {"300", 300}};
    for (const auto& [text, size] : sizes) {
        Load("s.zlf", KeyLine("#FieldWidth:", text) + "\r\n" + KeyLine("#FieldHeight:", text));
        EXPECT_EQ(std::tuple(b.FieldWidth(), b.FieldHeight()), std::tuple(size, size)) << text;
    }
    Load("c.zlf", "#CZ 999\r\n#C1        5       6\r\n");
    EXPECT_EQ(std::tuple(sb.Colours.GenColourCount, sb.Colours.GenPalette[10]), std::tuple(256, 6));
}

// The cell data of a layer: runs of state letters, "$" row ends, "." empty cells.
std::string Written(const World& world, Layer layer = Layer::Main, bool whole = true) {
    TextBuilder out;
    WriteFieldSection(out, world, layer, whole);
    return out.Text();
}

TEST(FieldSection, RunsRowEndsEdgeCellsSelectionSymbolsAndHugeCounts) {
    World world, selected;
    // An empty layer is one bare prefix line and reads back as no data.
    EXPECT_EQ(Written(world), "#L \r\n");
    world.StagingGrid.at(5, 5) = 9;
    EXPECT_FALSE(ReadFieldSection(world, SplitLines(Written(world)), "#L "));
    EXPECT_EQ(world.StagingGrid.at(5, 5), 0);

    // The selection of the Main Field starts at its first cell.
    Draw(selected.MainField, 10, 20, {"C..", "..*"});
    selected.EternalLifeField.at(10, 20) = 1;
    selected.Selection = {10, 20, 12, 21};
    EXPECT_EQ(Written(selected, Layer::Main, false), "#L C$2.A\r\n");

    // Row 0 empty; row 1 starts with a live cell at column 0; row 2 holds a cell
    // at the last column W; rows 3..5 empty; row 6 a run of three.
    SetFieldSize(world, 30, 30);
    Put(world.OtherRealityField, "0,1 30,2=2");
    Draw(world.OtherRealityField, 4, 6, {"***"});
    const std::string runs = Written(world, Layer::OtherReality);
    EXPECT_EQ(runs, "#LR $A$30.B4$4.3A\r\n");
    ASSERT_TRUE(ReadFieldSection(world, SplitLines(runs), FieldSectionKey(Layer::OtherReality)));
    EXPECT_EQ(CellText(world.StagingGrid), "0,1 4,6 5,6 6,6 30,2=2");

    // Symbols past the last state write the last; block letters and counts run
    // across lines.
    std::string s;
    for (int state : {0, 1, 24, 25, 48, 49, 72, 73, 264, 265, -7, 100000})
        AppendCellSymbol(s, state), s += ' ';
    EXPECT_EQ(s, ". A X aA aX bA bX cA jX jX . jX ");

    ASSERT_TRUE(ReadFieldSection(world, {"#L 3aB.cA$A", "#LB X"}, "#L "));
    EXPECT_EQ(CellText(world.StagingGrid), "0,0=26 0,1 1,0=26 2,0=26 4,0=73");

    // Keys are exact; a split may fall between a count and its symbol; "0A" is one cell.
    ASSERT_TRUE(ReadFieldSection(world, {"#LB 5A", "#L 12", "#L A$0A", "#LR $$$A"}, "#L "));
    EXPECT_EQ(CellText(world.StagingGrid), "0,0 0,1 1,0 2,0 3,0 4,0 5,0 6,0 7,0 8,0 9,0 10,0 11,0");

    // Huge counts: the first run fills the row to the extent, later cells are cut.
    SetFieldSize(world, 25, 25);
    ASSERT_TRUE(ReadFieldSection(
        world, {"#L 99999999999999999999999999A3B$999999999999$C", "#L 2147483647$D"}, "#L "));
    EXPECT_EQ(LiveCells(world.StagingGrid, -3, -3, 1001, 1001),
              LiveCells(world.StagingGrid, 0, 0, 26, 0));
    EXPECT_EQ(LiveCells(world.StagingGrid, 0, 0, 26, 0).size(), 27u);
}

}  // namespace
}  // namespace zentorix
