// Patterns in text files other than our own: RLE, Life 1.05 and 1.06, MCell.
#include "core/format_test_support.h"
#include "formats/life_files.h"
#include "formats/mcell_file.h"
#include "formats/pattern_load.h"
#include "formats/rle_file.h"

namespace zentorix {
namespace {

using namespace test;
namespace fs = std::filesystem;

enum Reader { Rle, Life105, Life106, MCell };
constexpr decltype(&ReadRleFile) kReaders[] = {ReadRleFile, ReadLife105File, ReadLife106File,
                                               ReadMCellFile};

struct PatternFiles : FileTest {
    // Reads the content on a fresh 160 by 140 field; a pattern's w and h then
    // show as the extents w + 100 and h + 100 while they are below 61.
    void Read(Reader reader, std::string_view content) {
        SetFieldSize(world, 160, 140);
        problems.clear();
        kReaders[reader](world, settings, dir.Write("p.txt", content), {}, &problems);
    }
};

// Every rule is read into the chosen set, which holds a three-state rule before.
TEST_F(PatternFiles, CellsSizesRulesAndDescription) {
    struct Case {
        Reader reader;
        const char* content;
        const char* cells;  // of the staging grid, as CellText gives them
        int w, h;
        int set = 0;
        const char* rule = nullptr;         // none: not checked
        const char* description = nullptr;  // lines joined by "|"; none: not checked
        const char* problem = nullptr;      // a part of the one problem expected
    };
    const char* glider = "0,3 1,1 1,3 2,2 2,3";
    const Case cases[] = {
        {Rle, "#C A glider\r\nx = 3, y = 3, rule = B3/S23\r\nbo$2bo$3o!\r\n", glider, 4, 3, 2,
         "B3/S2,3", "RLE-file|A glider| 3, y = 3, rule = B3/S23|!"},
        // "2$" before "!" moves two rows down and widens w by 2 past the column.
        {Rle, "o2$!", "0,1", 2, 3},
        // A count of 0 is 1; a count before a character that means nothing is lost.
        {Rle, "0o2o3xo!", "0,1 1,1 2,1 3,1", 5, 1},
        // State letters and "." are cells too.
        {Rle, "oAo2B.o!", "0,1 1,1 2,1 3,1=2 4,1=2 6,1", 8, 1},
        // A missing end mark still places the last row.
        {Rle, "x = 3, y = 3\nbo$2bo$3o\n", glider, 4, 3},
        // The header never holds cells, compact or not.
        {Rle, "x = 1, y = 1, rule = 23/36\r\n2o!\r\n", "0,1 1,1", 3, 1, 0, "B3,6/S2,3"},
        {Rle, "x=1,y=1,rule=B36/S125\r\n2o!\r\n", "0,1 1,1", 3, 1, 1, "B3,6/S1,2,5"},
        // Lines after the end and hash lines are description only.
        {Rle, "bo$2bo$3o! tail\r\nxxoooo after\r\n#C late\r\n3o$3o!\r\n", glider, 4, 3, 0, nullptr,
         "RLE-file|! tail|ooo after|late|3o!"},
        // The place another program gave the pattern is not a description.
        {Rle,
         "#N Glider bo$!\r\n#O Someone ob$\r\n#C cc\r\n#c lower\r\n#r 23/3\r\n"
         "#CXRLE Pos=0,0\r\nx = 1, y = 1\r\no!\r\n",
         "0,1", 2, 1, 0, nullptr, "RLE-file|Glider bo$!|Someone ob$|cc|lower|!"},
        // Without a rule line a Life 1.05 file means Conway's rule.
        {Life105, "#Life 1.05\r\n#D A glider\r\n#P -1 -1\r\n.*.\r\n..*\r\n***\r\n",
         "1,3 2,1 2,3 3,2 3,3", 3, 4, 1, "B3/S2,3", "Life 1.05|A glider"},
        // Blocks keep their distances; rows before the first "#P" belong to a
        // block at 0, 0.
        {Life105, "#Life 1.05\r\n#P -5 0\r\n*\r\n#P 2 3\r\n**\r\n", "1,1 8,4 9,4", 9, 5},
        {Life105, "*.\r\n#P 3 3\r\n*\r\n", "1,1 4,4", 4, 5},
        // Rows with "#" or "!" are no rows at all; "x" writes nothing.
        {Life105, "#Life 1.05\r\n#R 23/36\r\n.*.!\r\n**#\r\n.oO0x*\r\n", "2,1 3,1 4,1 6,1", 6, 2, 0,
         "B3,6/S2,3"},
        // Life 1.06 cells count from their smallest coordinates.
        {Life106, "#Life 1.06\n0 -1\n1 0\n-1 1\n0 1\n1 1\n", "0,2 1,0 1,2 2,1 2,2", 2, 2},
        {Life106, "#Life 1.06\r\n#D Two cells\r\n#N\r\n0 0\r\n1 0\r\n", "0,0 1,0", 1, 0, 2,
         "B3/S2,3", "Life 1.06|Two cells"},
        {Life106, "#Life 1.06\r\n#N\r\n#R 23/36\r\n0 0\r\n", "0,0", 0, 0, 0, "B3,6/S2,3"},
        // Rule lines as other programs write them; one that does not read keeps the
        // rules (Conway's, from "#N") and is a problem.
        {Life105, "#R B36/S23\r\n*\r\n", "1,1", 1, 2, 0, "B3,6/S2,3"},
        {Life106, "#N\n#R B3/S23-a4\n0 0\n", "0,0", 0, 0, 0, "B3/S2,3", nullptr, "\"B3/S23-a4\""},
        // Far coordinates neither crash nor wrap; the field grows to its largest.
        {Life105, "#P 2000000000 -2000000000\n*\n#P -2000000000 2000000000\n*\n", "", 898, 898},
        {Life106, "2000000000 2000000000\r\n-2000000000 -2000000000\r\n", "0,0", 898, 898},
        // MCell data starts at row 1. The width passed to the placement is the column
        // the row ends reached (a count adds rows, not columns), and data that ends
        // inside a row still places that row.
        {MCell, "#MCell 4.20\r\n#L A$5A", "0,1 0,2 1,2 2,2 3,2 4,2", 5, 2},
        {MCell, "#MCell 4.20\r\n#L A30$A$", "0,1 0,31", 2, 32},
        {MCell, "#MCell 4.20\r\n#L .A$2.B", "1,1 2,2=2", 3, 2},
        // A third number is the state; a negative state is an empty cell; tabs part
        // the numbers as blanks do; text lines set nothing.
        {Life106, "3 4 7\r\n4\t4\r\n5 4 -5\r\n#C 9 9\r\nabc 1\r\n", "0,0=7 1,0", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        settings.LoadRulesSelector = c.set;
        ParseRuleString(world, "345/2/4", kFamilyGenerations, c.set);
        Read(c.reader, c.content);
        EXPECT_EQ(CellText(world.StagingGrid), c.cells);
        EXPECT_EQ(AllLive(world.MainField).size(), AllLive(world.StagingGrid).size());
        EXPECT_EQ(std::tuple(world.ExtentX(), world.ExtentY()), std::tuple(c.w + 100, c.h + 100));
        EXPECT_EQ(c.rule ? RuleText(world.Rules[c.set]) : "", c.rule ? c.rule : "");
        EXPECT_EQ(c.description ? Joined(world.Description) : "",
                  c.description ? c.description : "");
        ASSERT_EQ(problems.size(), c.problem ? 1u : 0u);
        EXPECT_TRUE(!c.problem || Contains(problems[0], c.problem));
    }

    // A missing file changes nothing.
    for (const auto read : kReaders)
        read(world, settings, dir / "none.txt", {}, nullptr);
    EXPECT_EQ(std::tuple(world.CurrentFileName, AllLive(world.MainField).size()),
              std::tuple("p.txt", 2ul));

    // "." writes an empty cell over what the staging grid held.
    settings.ClearForLoad = false;
    world.StagingGrid.at(1, 1) = 4;
    Read(Life105, ".*");
    EXPECT_EQ(world.StagingGrid.at(1, 1), 0);
}

TEST_F(PatternFiles, HugeCountsAreCutAtTheGrid) {
    settings.ClearForLoad = false;
    Read(MCell,
         "#MCell 4.20\r\n#L 99999999999999999999999999A$B999999999999999$C\r\n"
         "#L 2147483648$D\r\n#L 4294967296.E");
    EXPECT_EQ(LiveCells(world.StagingGrid, -11, 1, 1001, 1),
              LiveCells(world.StagingGrid, 0, 1, 999, 1));
    EXPECT_EQ(LiveCells(world.StagingGrid, 0, 1, 999, 1).size(), 1000u);
    EXPECT_EQ(Staged(world.StagingGrid).at(1), (std::array{0, 2, 2}));
    EXPECT_EQ(Staged(world.StagingGrid).size(), 1001u);
    // The placement is cut to the field, which keeps its size, and never reaches
    // past the extent (columns 3..161 of the full row, and the one cell below).
    EXPECT_EQ(std::tuple(world.FieldWidth(), AllLive(world.MainField).size()),
              std::tuple(160, 160ul));

    settings.ClearForLoad = true;
    Read(Rle, "99999999999999999999999o$2000000000$o!");
    EXPECT_EQ(std::tuple(world.FieldWidth(), world.FieldHeight()), std::tuple(997, 997));
    // The first row, 1000 cells of the staging grid, cut to 996 columns at cx = 3.
    EXPECT_EQ(AllLive(world.MainField), LiveCells(world.MainField, 3, 2, 998, 2));
    EXPECT_EQ(AllLive(world.MainField).size(), 996u);
}

// Opened as a user opens it, after a history rule B1/S1 with 5 states: states,
// the rule (or, when it does not read, a problem naming it and the rules kept).
TEST_F(PatternFiles, StatesRulesAndProblems) {
    struct Case {
        const char* content;
        const char* cells;    // of the staging grid, as CellText gives them
        const char* rule;     // as RuleText gives it
        const char* problem;  // a part of the one problem expected, or none
        int neighbours = 8;   // the sum of the inner weights
    };
    const Case cases[] = {
        {"x = 5, y = 2, rule = 23/3/256\n.A2pAyO$3.X!", "1,1 2,1=25 3,1=25 3,2=24 4,1=255",
         "B3/S2,3/H256", nullptr},
        // A prefix without its letter is dropped with its count.
        {"x = 3, y = 1, rule = B2/S345/C4\n2B3pbC!", "0,1=2 1,1=2 3,1=3", "B2/S3,4,5/H4", nullptr},
        // A two-state rule switches history off.
        {"x = 2, y = 1, rule = B3/S23\n2o!", "0,1 1,1", "B3/S2,3", nullptr},
        {"x = 1, y = 1, rule = B2/S34V\no!", "0,1", "B2/S3,4", nullptr, 4},
        {"x = 1, y = 1, rule = 2/2H\no!", "0,1", "B2/S2", nullptr, 6},
        {"x = 1, y = 1, rule = B2-a/S12\no!", "0,1", "B1/S1/H5", "\"B2-a/S12\""},
        {"x = 1, y = 1, rule = LifeHistory\nA!", "0,1", "B1/S1/H5", "\"LifeHistory\""},
        {"x = 0, y = 0, rule = B3/S23\n!", "", "B3/S2,3", "no live cell"},
        // MCell: the "#GAME" line chooses the family of the "#RULE" lines.
        {"#MCell 4.20\n#GAME Generations\n#RULE 345/2/4\n#L A", "0,1", "B2/S3,4,5/H4", nullptr},
        {"#MCell 4.20\n#GAME Vote for Life\n#RULE 46789\n#L A", "0,1", "B4,6,7,8,9/S4,6,7,8,9",
         nullptr, 9},
        {"#MCell 4.20\n#GAME Generations\n#RULE 23/3/3\n#L A", "0,1", "B3/S2,3/H3", nullptr},
        // A game the reader has no family for, or none at all: empty lists, and the
        // user is told which rule did not run; so for a rule not read whole.
        {"#MCell 4.20\n#GAME Larger than Life\n#RULE R5,C0,M1,S34..58,B34..45\n#L A", "0,1",
         "B/S/H5", "\"Larger than Life\""},
        {"#MCell 4.20\n#GAME Life\n#RULE 23/3q\n#L A", "0,1", "B3/S2,3", "23/3q"},
        {"#MCell 4.20\n#RULE 23/3\n#L A", "0,1", "B/S/H5", "23/3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        ParseRuleString(world, "1/1/5", kFamilyGenerations, 0);
        const OpenResult r = OpenPatternFile(world, settings, dir.Write("p.rle", c.content));
        EXPECT_EQ(r.format,
                  Contains(c.content, "MCell") ? PatternFormat::MCell : PatternFormat::Rle);
        EXPECT_EQ(CellText(world.StagingGrid), c.cells);
        const RuleSet& rules = world.Rules[0];
        int neighbours = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                neighbours += rules.Weight(dx, dy);
        EXPECT_EQ(std::tuple(RuleText(rules), neighbours), std::tuple(c.rule, c.neighbours));
        ASSERT_EQ(r.problems.size(), c.problem ? 1u : 0u);
        EXPECT_TRUE(!c.problem || Contains(r.problems[0], c.problem));
    }
}

TEST_F(PatternFiles, MCellHeaderLinesAndMalformedNumbers) {
    world.MainField.at(10, 10) = 1;
    settings.ClearForLoad = false;
    EXPECT_EQ(ErrorOf([&] { Read(MCell, "#MCell 4.20\r\n#WRAP 1\r\n#SPEED fast\r\n#L 5A"); }),
              "' fast' is not a valid integer value");
    EXPECT_TRUE(settings.EnableTOR);  // applied before the bad line
    EXPECT_EQ(AllLive(world.MainField), (Cells{{10, 10}}));
    for (const char* board : {"#BOARD 200", "#BOARD 200x", "#BOARD 99999999999x100"})
        EXPECT_THROW(Read(MCell, std::string("#MCell 4.20\r\n") + board), FormatError) << board;
    EXPECT_EQ(world.FieldWidth(), 160);
    // A bad rule token fails only after the pattern was placed.
    EXPECT_THROW(Read(MCell, "#MCell 4.20\n#GAME Weighted Life\n#RULE NWx,\n#L A"), FormatError);
    EXPECT_EQ(AllLive(world.MainField).size(), 2u);

    // Good header lines set torus, speed, board and description; several "#RULE"
    // lines make one text, and the rule goes to the chosen set.
    settings.EnableTOR = false;
    settings.LoadRulesSelector = 2;
    Read(MCell,
         "#MCell 4.20\n#WRAP 1\n#SPEED 5000\n#BOARD 5x2000\n#D first\n#Dx not a line\n"
         "#PALETTE ignored\n#GAME Weighted Life\n#RULE NW2,NN1,NE1,WW1,ME0,\n"
         "#RULE EE1,SW1,SS1,\n#RULE SE1,HI0,RB5,RS1\n#L 3a\n#L BcA$0A2?A\n#LB 7A\n#L");
    EXPECT_EQ(
        std::tuple(settings.EnableTOR, settings.SpeedMain, world.FieldWidth(), world.FieldHeight()),
        std::tuple(true, 1000, 25, 997));
    EXPECT_EQ(world.Description, (Lines{"Mcell 4.20", "first"}));
    EXPECT_EQ(std::tuple(world.Rules[2].Weight(-1, -1), world.Rules[2].BirthList),
              std::tuple(2, Sums{5}));
    // Block letters, counts and rows run across lines; "0A" is one cell; a count
    // before an unknown character is lost.
    EXPECT_EQ(Staged(world.StagingGrid),
              (States{{0, 1, 26}, {0, 2, 1}, {1, 1, 26}, {1, 2, 1}, {2, 1, 26}, {3, 1, 73}}));
}

// The writers: LF line ends for RLE, which other simulators read; the live cells'
// box is written with its place; ages count as live cells; history rules write
// one letter per state; rules without a count form are kept as our own comment,
// and the user hears of it.
TEST_F(PatternFiles, RleWriterLayoutForEachKindOfRule) {
    struct Case {
        const char* rule;  // none: the default rule
        std::string_view family;
        const char* cells;  // as CellText gives them
        Lines description;
        const char* expected;
        std::size_t problems = 0;
    };
    const Case cases[] = {
        {nullptr, "", "1,3 2,1 2,3 3,2 3,3=5", Lines{"RLE-file", "A glider"},
         "#C RLE-file\n#C A glider\n#CXRLE Pos=1,1\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n"},
        // Beyond the notation a state takes the highest symbol.
        {"345/2/4", kFamilyGenerations, "0,1 0,2=30 0,5=24 1,1=2 1,2=30 2,1=3 3,2=999", Lines{},
         "#CXRLE Pos=0,1\nx = 4, y = 5, rule = 345/2/4\nABC$2pF.yO3$X!\n", 1},
        {"#R NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,", kFamilyZentorix, "25,25",
         Lines{"two\nlines"},
         "#C two\n#C lines\n#C Zentorix rule NW1,NN2,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,\n"
         "#CXRLE Pos=25,25\nx = 1, y = 1\no!\n",
         1},
        // An empty field is an empty pattern.
        {"#R 23/3", kFamilyLife, "", Lines{}, "x = 0, y = 0, rule = B3/S23\n!\n"},
    };
    SetFieldSize(world, 25, 25);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        if (c.rule)
            ParseRuleString(world, c.rule, c.family, 0);
        world.MainField.Clear();
        Put(world.MainField, c.cells);
        world.Description = c.description;
        problems.clear();
        EXPECT_EQ(TempFolder::Read(WriteRleFile(world, dir / "out.txt", &problems)), c.expected);
        EXPECT_EQ(problems.size(), c.problems);
    }
    EXPECT_FALSE(fs::exists(dir / "out.txt") || fs::exists(dir / "out.rle.tmp"));
    // An unwritable folder leaves nothing behind.
    EXPECT_THROW(WriteRleFile(world, dir / "no" / "such" / "out.rle"), FileError);
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(PatternFiles, MCellAndLife105WriterLayouts) {
    SetFieldSize(world, 30, 25);
    Put(world.MainField, "2,1 3,1=30");
    world.Description = {"Mcell 4.20", "a glider"};
    const auto mcl = WriteMCellFile(world, settings, dir / "out.zlf");
    EXPECT_EQ(mcl, dir / "out.mcl");
    EXPECT_EQ(TempFolder::Read(mcl),
              "#MCell 4.20\r\n#GAME Weighted Life\r\n"
              "#RULE NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,\r\n"
              "#BOARD 30x25\r\n#WRAP 0\r\n#D Mcell 4.20\r\n#D a glider\r\n#L $2.AaF\r\n");
    Put(world.MainField, "0,0 5,3");  // row and column 0 are not written
    const auto lif = WriteLife105File(world, dir / "out.zlf");
    EXPECT_EQ(lif, dir / "out.lif");
    EXPECT_EQ(TempFolder::Read(lif),
              "#Life 1.05\r\n#R 23/3\r\n#D Mcell 4.20\r\n#D a glider\r\n**..\r\n....\r\n...*\r\n");
    EXPECT_FALSE(fs::exists(dir / "out.mcl.tmp") || fs::exists(dir / "out.lif.tmp"));

    // A line end inside a description line never lets text into the cell data.
    world.MainField.Clear();
    world.MainField.at(30, 25) = 1;  // the last column and row are written
    world.Description = {"one\r\n#L 5A\r**", ""};
    EXPECT_EQ(TempFolder::Read(WriteLife105File(world, lif)),
              "#Life 1.05\r\n#R 23/3\r\n#D one\r\n#D #L 5A\r\n#D **\r\n#D \r\n*\r\n");
    World back;
    Settings backSettings;
    settings.EnableTOR = true;
    ReadMCellFile(back, backSettings, WriteMCellFile(world, settings, mcl), {});
    EXPECT_EQ(std::tuple(AllLive(back.MainField).size(), backSettings.EnableTOR,
                         Joined(back.Description)),
              std::tuple(1ul, true, "Mcell 4.20|one|#L 5A|**|"));

    EXPECT_EQ(TempFolder::Read(WriteLife105File(World{}, dir / "empty")),
              "#Life 1.05\r\n#R 23/3\r\n");
    EXPECT_THROW(WriteLife105File(world, dir / "missing" / "x.lif"), FileError);
}

}  // namespace
}  // namespace zentorix
