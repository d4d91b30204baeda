#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "cli/cli_support.h"
#include "model/colour_model.h"

namespace zentorix {
namespace {

using test::CliResult;
using test::Quote;
using test::Zlf;

constexpr const char* kGrid =
    "census --rules rules.txt --field 30x30 --soup 12x12 --density 45 --seeds 3..7 "
    "--generations 150 --torus";

// A 40 by 30 field with a block at cells 5..6 by 4..5.
const std::string kBlock = Zlf("40", "30", {"[Main Field]", "#L 4$5.2A$5.2A"});

class Cli : public ::testing::Test {
  protected:
    test::TempFolder folder;

    CliResult Call(const std::string& args) const { return test::RunCli(folder.Path(), args); }
    CliResult Census(const std::string& more) const { return Call(std::string(kGrid) + more); }
    CliResult Run(const std::filesystem::path& file, const std::string& options) const {
        return Call(std::string("run ").append(Quote(file)).append(" ").append(options));
    }
    std::string Read(const char* name) const { return test::TempFolder::Read(folder / name); }
};

TEST_F(Cli, HelpWrongUsageAndFailures) {
    for (const char* asked : {"--help", "run --help", "convert --help", "run x.rle -h"}) {
        const CliResult help = Call(asked);
        EXPECT_EQ(std::pair(help.status, Contains(help.out, "zentorix-cli run FILE")),
                  std::pair(0, true))
            << asked;
    }
    ASSERT_EQ(mkfifo((folder / "pipe.rle").c_str(), 0600), 0);
    std::filesystem::resize_file(folder.Write("huge.bmp", "BM"), std::uintmax_t{65} << 20);
    folder.Write("notes.txt", "just some words\n");
    folder.Write("bad.zlf", Zlf("12x4", "30"));
    folder.Write("rules.txt", "nothing here\n");
    folder.Write("blinker.rle", "x = 3, y = 1\n3o!\n");
    folder.Write("block.zlf", kBlock);
    folder.Write("wide.zlf", Zlf("100", "30"));
    // Wrong usage exits with 2 and prints nothing; a failure exits with 1. Both
    // tell why on the standard error.
    for (const auto& list :
         {std::vector<const char*>{
              "", "frob", "run", "run a b", "run x --generations", "run x --torus --plane",
              "run x --generations -3", "run x --seed y", "run x --bogus", "convert a",
              "run x --save out.txt", "run x --record 0:5", "run x --record 5:32001",
              "run x --record 7", "run x --record 9:3", "run x --record 1:b",
              "run x --stat-file s"},
          std::vector<const char*>{
              "census --bogus", "census --seeds 5..2", "census --soup 0x4", "census --density 10",
              "census --family life", "census --rules-random 3 --family odd", "census --resume",
              "census --shard 3/2", "census --weights 2..1 --rules-random 1", "census --jobs 0",
              "census-summary", "census-summary --csv --markdown x"}})
        for (const char* bad : list) {
            const CliResult r = Call(bad);
            EXPECT_EQ(std::tuple(r.status, r.err.empty(), r.out), std::tuple(2, false, "")) << bad;
        }
    // The arguments, the exit status and a part of the message.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"run wide.zlf --generations 3 --gif big.gif --gif-scale 41", 2, "4100 by 1230 pixels"},
        {"run block.zlf --generations 20001 --gif big.gif", 2, "20001 frames are past the limit"},
        {"run block.zlf --generations 3 --gif-scale 2", 2, "belong to --gif"},
        {"run block.zlf --generations 3 --gif big.gif --gif-scale 65", 2, "from 1 to 64"},
        {"run none.rle", 1, "no such file"},
        {"run .", 1, "not a regular file"},
        {"run pipe.rle", 1, "not a regular file"},
        {"run huge.bmp", 1, "too large for a pattern file"},
        {"run notes.txt", 1, "not a pattern format"},
        {"run bad.zlf", 1, "'12x4' is not a valid integer value"},
        {"--help >/dev/full", 1, "cannot write the output: No space left on device"},
        {"run blinker.rle >/dev/full", 1, "cannot write the output: No space left on device"},
        // A recording that cannot be written, or never begins, is no success.
        {"run blinker.rle --record 1:3 --stat-file none/s.txt", 1, "none/s.txt"},
        {"run blinker.rle --record 5:9 --generations 2", 1, "nothing was recorded"},
        {"run block.zlf --generations 2 --gif no/such/b.gif", 1, "cannot write no/such/b.gif"},
        {"census --rules rules.txt", 1, "no line reads as a rule"},
        {"census --rules none.txt", 1, "cannot read the rules file"},
        {"census --base none.rle", 1, "none.rle"},
        {"census --output no/such/folder/out.jsonl", 1, "cannot write no/such/folder/out.jsonl"},
        {"census --output /dev/full", 1, "No space left on device"},
        {"census >/dev/full", 1, "No space left on device"},
        {"census-summary rules.txt", 1, "not a census file"},
    };
    for (const auto& [args, status, message] : cases) {
        SCOPED_TRACE(args);
        const CliResult r = Call(args);
        EXPECT_EQ(std::pair(r.status, Contains(r.err, message)), std::pair(status, true)) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "big.gif"));
}

TEST_F(Cli, GliderLinesAndSavedFilesOfEveryFormatRunTheSame) {
    const auto glider = folder.Write("glider.rle", "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
    // The field line, then one line per generation.
    const std::string field =
        "field 103x102 plane live 5 rule "
        "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,";
    EXPECT_EQ(Run(glider, "--generations 4").out,
              field + "\n1 5 2 2 2\n2 5 2 2 2\n3 5 2 2 2\n4 5 2 2 2\n");
    EXPECT_EQ(Run(glider, "--generations 30 --quiet").out, field + "\n30 5 2 2 2\n");
    EXPECT_EQ(Run(glider, "--generations 0").lines.size(), 1u);
    // A pattern wider than the largest field runs with what fits, and says so.
    const CliResult wide = Run(folder.Write("wide.rle", "x = 1200, y = 1\n1200o!\n"), "");
    EXPECT_EQ(std::tuple(wide.status,
                         Contains(wide.err, "The pattern is 1200 x 1 cells, the field 997 x "),
                         Contains(wide.err, " live cells were left out.")),
              std::tuple(0, true, true))
        << wide.err;

    const CliResult original = Run(glider, "--generations 12 --quiet");
    for (const char* ext : {".zlf", ".lif", ".mcl", ".rle"}) {
        const auto saved = folder / (std::string("saved") + ext);
        const CliResult converted = Call("convert " + Quote(glider) + " " + Quote(saved));
        ASSERT_EQ(converted.status, 0) << ext << converted.err;
        const CliResult again = Run(saved, "--generations 12 --quiet");
        ASSERT_EQ(again.status, 0) << ext << again.err;
        // The same pattern and rule evolve alike wherever the reader places them.
        EXPECT_EQ(again.lines.at(1), original.lines.at(1)) << ext;
        EXPECT_NE(again.lines.at(0).find(" live 5 rule "), std::string::npos) << ext;
    }
    const auto after = folder / "after.rle";
    ASSERT_EQ(Run(glider, "--generations 4 --save " + Quote(after)).status, 0);
    EXPECT_NE(test::TempFolder::Read(after).find("o"), std::string::npos);
}

TEST_F(Cli, TheFileChoosesTorusAutoStopAndRandomFillsAndARecordingEndsTheRun) {
    // A glider on a 25 by 25 wrapped MCell board keeps flying for ever; on the
    // plane, chosen by the option, it ends at the border.
    const auto mcl = folder.Write("wrap.mcl",
                                  "#MCell 4.20\r\n#GAME Life\r\n#RULE 23/3\r\n#BOARD 25x25\r\n"
                                  "#WRAP 1\r\n#L .A$2.A$3A\r\n");
    const CliResult wrapped = Run(mcl, "--generations 200 --quiet");
    ASSERT_EQ(wrapped.status, 0) << wrapped.err;
    EXPECT_NE(wrapped.lines[0].find(" torus live 5 "), std::string::npos) << wrapped.lines[0];
    EXPECT_EQ(wrapped.lines[1].substr(0, 6), "200 5 ");
    const CliResult plane = Run(mcl, "--plane --generations 200 --quiet");
    EXPECT_NE(plane.lines[0].find(" plane "), std::string::npos);
    EXPECT_NE(plane.lines[1].substr(0, 6), "200 5 ");

    // Auto-stop from the file ends the output.
    const auto lonely = folder.Write(
        "lonely.zlf",
        Zlf("40", "40", {"[Option]", KeyLine("#AutoStop", "1"), "[Main Field]", "#L 10$10.A"}));
    const CliResult stopped = Run(lonely, "--generations 50");
    EXPECT_EQ(stopped.out.substr(0, 26) + stopped.out.substr(stopped.out.find('\n')),
              "field 40x40 plane live 1 r\n1 0 0 0 1\n");

    // A recording ends the run (the file itself is compared with the window's
    // recording), or the field dies out first.
    folder.Write("blinker.rle", "x = 3, y = 1\n3o!\n");
    folder.Write("lone.rle", "x = 1, y = 1\no!\n");
    EXPECT_EQ(Call("run blinker.rle --record 2:4 --stat-file s.txt").lines.size(), 5u);
    ASSERT_EQ(Call("run lone.rle --record 1:10 --stat-file s.txt").status, 0);
    EXPECT_EQ(test::FileLines(folder / "s.txt").at(16), "На 1 поколінні життя на полі припинилось");
}

// The run lines of a census file in run order, and its header.
struct Lines {
    std::string header;
    std::vector<std::string> runs;
};

Lines Split(const std::string& text) {
    Lines lines;
    for (const std::string& line : SplitLines(text))
        if (StartsWith(line, R"({"run":)"))
            lines.runs.push_back(line);
        else if (!line.empty())
            lines.header = line;
    // {"run":N
    std::ranges::sort(lines.runs, {},
                      [](const std::string& l) { return std::stoull(l.substr(7)); });
    return lines;
}

// The header without its time stamp.
std::string Timeless(const std::string& header) {
    return header.substr(0, header.find("\"started\""));
}

TEST_F(Cli, CensusRepeatsShardsResumesAndMerges) {
    folder.Write("rules.txt", "B3/S23\nB3/S23x\n23/36\n345/2/4\n");
    // The same census twice: the same file apart from the time stamp.
    const CliResult whole = Census(" --output whole.jsonl");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.err.find("rules.txt:2: 'B3/S23x'"), std::string::npos) << whole.err;
    const CliResult again = Census("");
    ASSERT_EQ(again.status, 0) << again.err;
    const Lines a = Split(Read("whole.jsonl")), b = Split(again.out);
    ASSERT_EQ(a.runs.size(), 15u);
    // The runs take the seeds of each readable rule in turn.
    const char* const rules[][2] = {{"B3/S23", "1"}, {"23/36", "3"}, {"345/2/4", "4"}};
    for (std::size_t run = 0; run < a.runs.size(); ++run) {
        char head[200];
        std::snprintf(head, sizeof head,
                      R"({"run":%zu,"rule_index":%zu,"rule":"%s","rule_line":%s,"seed":%zu,)", run,
                      run / 5, rules[run / 5][0], rules[run / 5][1], 3 + run % 5);
        EXPECT_EQ(a.runs[run].substr(0, std::strlen(head)), head);
    }
    EXPECT_EQ(Timeless(a.header), Timeless(b.header));
    EXPECT_NE(a.header.find("\"unreadable_rule_lines\":1"), std::string::npos);
    EXPECT_EQ(Read("whole.jsonl").substr(a.header.size() + 1),
              again.out.substr(b.header.size() + 1));

    // Two jobs: the same runs. Shards merged again are CensusParallelRecipe's
    // case; a shard alone is summed up as the part it is.
    EXPECT_EQ(Split(Census(" --jobs 2").out).runs, a.runs);
    ASSERT_EQ(Census(" --shard 1/3 --output shard1.jsonl").status, 0);
    EXPECT_NE(Call("census-summary shard1.jsonl").err.find("hold 5 of the census's 15 runs"),
              std::string::npos);
    // A line that is no run is skipped and counted, a line cut short left out.
    folder.Write("junk.jsonl", Read("whole.jsonl") + "not json\n" + a.runs[0].substr(0, 9));
    const CliResult junk = Call("census-summary junk.jsonl");
    EXPECT_EQ(junk.out, Call("census-summary whole.jsonl").out);
    EXPECT_NE(junk.err.find("junk.jsonl: 1 line(s) that are no run"), std::string::npos)
        << junk.err;

    // Killed after two runs, in the middle of the third: the resume ends the
    // cut line's run whole and adds the rest.
    const std::string text = Read("whole.jsonl");
    const std::size_t cut = a.header.size() + a.runs[0].size() + a.runs[1].size() + 3;
    folder.Write("killed.jsonl", text.substr(0, cut + 30));
    const CliResult resumed = Census(" --output killed.jsonl --resume");
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    const std::string after = Read("killed.jsonl");
    EXPECT_EQ(after.substr(0, cut), text.substr(0, cut));
    EXPECT_EQ(Split(after).runs, a.runs);
    // Nothing left to run: the file stays as it is.
    ASSERT_EQ(Census(" --output killed.jsonl --resume").status, 0);
    EXPECT_EQ(Read("killed.jsonl"), after);

    // Another census's file is refused and kept; so is a file given without --resume.
    const std::pair<const char*, const char*> refused[] = {
        {" --generations 151 --output whole.jsonl --resume", "holds another census"},
        {" --shard 1/2 --output whole.jsonl --resume", "holds another census"},
        {" --output whole.jsonl", "already exists"},
        {" --output rules.txt --resume", "not a census file"},
    };
    for (const auto& [args, message] : refused) {
        const CliResult no = Census(args);
        EXPECT_EQ(std::pair(no.status, Contains(no.err, message)), std::pair(1, true)) << no.err;
    }
    EXPECT_EQ(Read("whole.jsonl"), text);
    const CliResult otherCensus = Call("census-summary whole.jsonl shard1.jsonl killed.jsonl");
    EXPECT_EQ(otherCensus.status, 0) << otherCensus.err;
}

TEST_F(Cli, CensusOfOneRunCountsAsTheRunCommand) {
    // Random fills make the seed matter; the census then runs to the limit.
    folder.Write("rain.zlf", Zlf("40", "40",
                                 {"[Land]", KeyLine("#MainFillRandom", "1"),
                                  KeyLine("#RandomFillIntensity", "100"), "[Main Field]",
                                  "#L 20$20.2A$19.2A$20.A"}));
    const CliResult census = Call("census --base rain.zlf --seeds 11..11 --generations 40");
    ASSERT_EQ(census.status, 0) << census.err;
    const CliResult run = Call("run rain.zlf --seed 11 --generations 40");
    ASSERT_EQ(run.status, 0) << run.err;
    long long born = 0, died = 0, live = 0, last = 0;
    std::istringstream lines(run.out.substr(run.out.find('\n') + 1));  // after the field line
    for (long long g, l, first, b, d; lines >> g >> l >> first >> b >> d; last = l) {
        born += b;
        died += d;
        live += l;
    }
    const std::string line = Split(census.out).runs.at(0);
    char figures[200];
    std::snprintf(figures, sizeof figures,
                  R"("live_final":%lld,"born_total":%lld,"died_total":%lld,"live_total":%lld)",
                  last, born, died, live);
    EXPECT_EQ(std::pair(Contains(line, R"("outcome":"active","period":null,"generation":40,)"),
                        Contains(line, figures)),
              std::pair(true, true))
        << figures << " " << line;
    EXPECT_GT(born, 0);
}

// The frames of a GIF as palette colours (0xRRGGBB), each the full picture.
std::vector<std::vector<std::uint32_t>> Frames(const std::filesystem::path& file, int& width) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
    std::vector<std::vector<std::uint32_t>> frames;
    if (!gif || DGifSlurp(gif) != GIF_OK)
        return frames;
    width = gif->SWidth;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(gif->SWidth) * gif->SHeight, 0);
    const ColorMapObject* map = gif->SColorMap;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * d.Width + x]];
                canvas[static_cast<std::size_t>((d.Top + y) * gif->SWidth + d.Left + x)] =
                    (std::uint32_t{c.Red} << 16) | (std::uint32_t{c.Green} << 8) | c.Blue;
            }
        frames.push_back(canvas);
    }
    DGifCloseFile(gif, &error);
    return frames;
}

std::uint32_t Rgb(Colour c) {
    const auto v = static_cast<std::uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

TEST_F(Cli, RunsShownAsAnimatedGifs) {
    // A block ages through the palette: after generation k its cells hold k + 1.
    folder.Write("block.zlf", kBlock);
    const CliResult r =
        Call("run block.zlf --generations 9 --gif b.gif --gif-scale 3 --gif-every 2");
    ASSERT_EQ(r.status, 0) << r.err;
    int width = 0;
    const auto frames = Frames(folder / "b.gif", width);
    ASSERT_EQ(frames.size(), 4u);  // generations 2, 4, 6, 8
    EXPECT_EQ(width, 120);
    const ColourModel colours;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const std::uint32_t state = Rgb(colours.ColourOfState(static_cast<int>(2 * k + 3)));
        const std::uint32_t back = Rgb(colours.BackgroundColour);
        // The block is cells 5..6 by 4..5: pixels 12..17 by 9..14.
        const auto& f = frames[k];
        EXPECT_EQ((std::vector{f[13 * 120 + 16], f[9 * 120 + 12], f[13 * 120 + 18], f[8 * 120 + 13],
                               f[0]}),
                  (std::vector{state, state, back, back, back}))
            << k;
    }
    EXPECT_NE(frames[0][13 * 120 + 16], frames[1][13 * 120 + 16]);
}

}  // namespace
}  // namespace zentorix
