#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "formats/text_file.h"

namespace zentorix {
namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> lines;
};

// Built piece by piece: chains of string + trip a false warning in GCC 12.
std::string Quote(const std::filesystem::path& p) {
    return std::string("'").append(p.string()).append("'");
}

// A native file of the given lines.
std::string Zlf(std::initializer_list<std::string> lines) {
    std::string text = "#Zentorix\r\n#FileType zlf\r\n";
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

class Cli : public ::testing::Test {
  protected:
    test::TempFolder folder;

    // Runs the batch program with the arguments (already quoted where needed).
    Result Call(const std::string& args) const {
        const auto errFile = folder.Path() / "stderr.txt";
        const std::string command = std::string("'") + ZENTORIX_CLI + "' " + args + " 2>'" +
                                    errFile.string() + "' </dev/null";
        Result r;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe)
            return r;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            r.out.append(buffer, n);
        const int raw = pclose(pipe);
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.err = test::TempFolder::Read(errFile);
        r.lines = SplitLines(r.out);
        return r;
    }
    Result Run(const std::filesystem::path& file, const std::string& options) const {
        return Call(std::string("run ").append(Quote(file)).append(" ").append(options));
    }
};

TEST_F(Cli, HelpWrongUsageAndUnreadableFiles) {
    for (const char* asked : {"--help", "run --help", "convert --help", "run x.rle -h"}) {
        const Result help = Call(asked);
        EXPECT_EQ(help.status, 0) << asked;
        EXPECT_NE(help.out.find("zentorix-cli run FILE"), std::string::npos) << asked;
    }
    for (const char* bad :
         {"", "frob", "run", "run a b", "run x --generations", "run x --torus --plane",
          "run x --generations -3", "run x --seed y", "run x --bogus", "convert a",
          "run x --save out.txt", "run x --record 0:5", "run x --record 5:32001",
          "run x --record 7", "run x --record 9:3", "run x --record 1:b", "run x --stat-file s"}) {
        const Result r = Call(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
    }
    // Files that cannot be read exit with 1.
    const auto fifo = folder / "pipe.rle";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto huge = folder.Write("huge.bmp", "BM");
    std::filesystem::resize_file(huge, std::uintmax_t{65} << 20);  // sparse: no disk used
    const std::pair<std::filesystem::path, const char*> cases[] = {
        {folder / "none.rle", "no such file"},
        {folder.Path(), "not a regular file"},
        {fifo, "not a regular file"},
        {"/dev/null", "not a regular file"},
        {huge, "too large for a pattern file"},
        {folder.Write("notes.txt", "just some words\n"), "not a pattern format"},
        {folder.Write("bad.zlf", Zlf({KeyLine("#FieldWidth:", "12x4")})),
         "'12x4' is not a valid integer value"}};
    for (const auto& [file, message] : cases) {
        const Result r = Run(file, "");
        EXPECT_EQ(r.status, 1) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    // Output that cannot be written is a failure, not a success.
    const auto glider = folder.Write("glider.rle", "x = 3, y = 3\nbo$2bo$3o!\n");
    for (const std::string& args :
         {std::string("--help"), std::string("run ").append(Quote(glider))}) {
        const Result full = Call(args + " >/dev/full");
        EXPECT_EQ(full.status, 1) << args;
        EXPECT_NE(full.err.find("cannot write the output: No space left on device"),
                  std::string::npos)
            << full.err;
    }
}

TEST_F(Cli, GliderLinesAndSavedFilesOfEveryFormatRunTheSame) {
    const auto glider = folder.Write("glider.rle", "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
    // The field line, then one line per generation.
    const Result r = Run(glider, "--generations 4");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.lines.size(), 5u) << r.out;
    EXPECT_EQ(r.lines[0],
              "field 103x102 plane live 5 rule "
              "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,");
    EXPECT_EQ(r.lines[1], "1 5 2 2 2");
    EXPECT_EQ(r.lines[4], "4 5 2 2 2");
    const Result quiet = Run(glider, "--generations 30 --quiet");
    ASSERT_EQ(quiet.lines.size(), 2u);
    EXPECT_EQ(quiet.lines[1].substr(0, 5), "30 5 ");
    EXPECT_EQ(Run(glider, "--generations 0").lines.size(), 1u);
    // A pattern wider than the largest field runs with what fits, and says so.
    const Result wide = Run(folder.Write("wide.rle", "x = 1200, y = 1\n1200o!\n"), "");
    EXPECT_EQ(wide.status, 0);
    EXPECT_NE(wide.err.find("The pattern is 1200 x 1 cells, the field 997 x "), std::string::npos)
        << wide.err;
    EXPECT_NE(wide.err.find(" live cells were left out."), std::string::npos) << wide.err;

    const Result original = Run(glider, "--generations 12 --quiet");
    for (const char* ext : {".zlf", ".lif", ".mcl", ".rle"}) {
        const auto saved = folder / (std::string("saved") + ext);
        const Result converted = Call("convert " + Quote(glider) + " " + Quote(saved));
        ASSERT_EQ(converted.status, 0) << ext << converted.err;
        const Result again = Run(saved, "--generations 12 --quiet");
        ASSERT_EQ(again.status, 0) << ext << again.err;
        // The same pattern and rule evolve alike wherever the reader places them.
        EXPECT_EQ(again.lines.at(1), original.lines.at(1)) << ext;
        EXPECT_NE(again.lines.at(0).find(" live 5 rule "), std::string::npos) << ext;
    }
    const auto after = folder / "after.rle";
    ASSERT_EQ(Run(glider, "--generations 4 --save " + Quote(after)).status, 0);
    EXPECT_NE(test::TempFolder::Read(after).find("o"), std::string::npos);
}

TEST_F(Cli, TheFileChoosesTorusAutoStopAndRandomFills) {
    // A glider on a 25 by 25 wrapped MCell board keeps flying for ever; on the
    // plane, chosen by the option, it ends at the border.
    const auto mcl = folder.Write("wrap.mcl",
                                  "#MCell 4.20\r\n#GAME Life\r\n#RULE 23/3\r\n#BOARD 25x25\r\n"
                                  "#WRAP 1\r\n#L .A$2.A$3A\r\n");
    const Result wrapped = Run(mcl, "--generations 200 --quiet");
    ASSERT_EQ(wrapped.status, 0) << wrapped.err;
    EXPECT_NE(wrapped.lines[0].find(" torus live 5 "), std::string::npos) << wrapped.lines[0];
    EXPECT_EQ(wrapped.lines[1].substr(0, 6), "200 5 ");
    const Result plane = Run(mcl, "--plane --generations 200 --quiet");
    EXPECT_NE(plane.lines[0].find(" plane "), std::string::npos);
    EXPECT_NE(plane.lines[1].substr(0, 6), "200 5 ");

    // Auto-stop from the file ends the output.
    const auto lonely = folder.Write(
        "lonely.zlf", Zlf({KeyLine("#FieldHeight:", "40"), KeyLine("#FieldWidth:", "40"),
                           "[Option]", KeyLine("#AutoStop", "1"), "[Main Field]", "#L 10$10.A"}));
    const Result stopped = Run(lonely, "--generations 50");
    ASSERT_EQ(stopped.status, 0) << stopped.err;
    EXPECT_EQ(stopped.lines[0].substr(0, 26), "field 40x40 plane live 1 r");
    ASSERT_EQ(stopped.lines.size(), 2u) << stopped.out;
    EXPECT_EQ(stopped.lines[1], "1 0 0 0 1");

    // Fixed seeds repeat random fills.
    const auto rain = folder.Write(
        "rain.zlf",
        Zlf({KeyLine("#FieldHeight:", "60"), KeyLine("#FieldWidth:", "60"), "[Land]",
             KeyLine("#MainFillRandom", "1"), KeyLine("#RandomFillIntensity", "2000")}));
    const std::string seed = "--generations 20 --seed ";
    const Result a = Run(rain, seed + "7"), b = Run(rain, seed + "7"), c = Run(rain, seed + "8");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out, c.out);
}

TEST_F(Cli, RecordedRunsWriteTheStatisticsFile) {
    const auto blinker = folder.Write("blinker.rle", "x = 3, y = 1\n3o!\n");
    const auto stat = folder / "s.txt";
    // Without --generations the run ends with the recording.
    const Result r = Run(blinker, "--record 2:4 --stat-file " + Quote(stat));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines.size(), 5u);
    const std::vector<std::string> lines = test::FileLines(stat);
    // The reader's two description lines make the header 14 lines long.
    ASSERT_EQ(lines.size(), 14u + 3u + 9u);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 11), "blinker.rle");
    EXPECT_EQ(lines[14], "|        2  |     3   |       2  |     2    |      2  |");
    EXPECT_EQ(lines[16].substr(0, 11), "|        4 ");
    EXPECT_EQ(lines.back(), "Кінець файлу статистики");

    // A lone cell dies at once: the die-out line, and the run ends there.
    const auto lone = folder.Write("lone.rle", "x = 1, y = 1\no!\n");
    ASSERT_EQ(Run(lone, "--record 1:10 --stat-file " + Quote(stat)).status, 0);
    EXPECT_EQ(test::FileLines(stat).at(16), "На 1 поколінні життя на полі припинилось");

    // A recording that cannot be written, or never begins, is no success.
    const std::pair<std::string, const char*> failures[] = {
        {"--record 1:3 --stat-file " + Quote(folder / "none" / "s.txt"), "none"},
        {"--record 5:9 --generations 2", "nothing was recorded"}};
    for (const auto& [options, message] : failures) {
        const Result failed = Run(blinker, options);
        EXPECT_EQ(failed.status, 1) << options;
        EXPECT_NE(failed.err.find(message), std::string::npos) << failed.err;
    }
}

}  // namespace
}  // namespace zentorix
