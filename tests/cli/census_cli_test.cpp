#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "formats/text_file.h"
#include "model/colour_model.h"

namespace zentorix {
namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::filesystem::path& p) {
    return std::string("'").append(p.string()).append("'");
}

// A native file of the given lines (built piece by piece: chains of string +
// trip a false warning in GCC 12).
std::string Zlf(std::initializer_list<std::string> lines) {
    std::string text = "#Zentorix\r\n#FileType zlf\r\n";
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

// The run lines of a census file in run order, and its header.
struct Lines {
    std::string header;
    std::vector<std::string> runs;
};

Lines Split(const std::string& text) {
    Lines lines;
    for (const std::string& line : SplitLines(text)) {
        if (line.empty())
            continue;
        if (lines.header.empty())
            lines.header = line;
        else
            lines.runs.push_back(line);
    }
    std::sort(lines.runs.begin(), lines.runs.end(), [](const std::string& a, const std::string& b) {
        return std::stoull(a.substr(7)) < std::stoull(b.substr(7));  // {"run":N
    });
    return lines;
}

// The header without its time stamp.
std::string Timeless(const std::string& header) {
    return header.substr(0, header.find("\"started\""));
}

class Census : public ::testing::Test {
  protected:
    test::TempFolder folder;

    Result Call(const std::string& args) const {
        const auto errFile = folder.Path() / "stderr.txt";
        const std::string command = std::string("cd ") + Quote(folder.Path()) + " && '" +
                                    ZENTORIX_CLI + "' " + args + " 2>'" + errFile.string() +
                                    "' </dev/null";
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
        return r;
    }
    std::string Read(const char* name) const { return test::TempFolder::Read(folder / name); }
};

constexpr const char* kGrid =
    "census --rules rules.txt --field 30x30 --soup 12x12 --density 45 --seeds 3..7 "
    "--generations 150 --torus";

TEST_F(Census, RepeatsShardsResumesAndMerges) {
    folder.Write("rules.txt", "B3/S23\nB3/S23x\n23/36\n345/2/4\n");
    // The same census twice: the same file apart from the time stamp.
    const Result whole = Call(std::string(kGrid) + " --output whole.jsonl");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.err.find("rules.txt:2: 'B3/S23x'"), std::string::npos) << whole.err;
    const Result again = Call(std::string(kGrid));
    ASSERT_EQ(again.status, 0) << again.err;
    const Lines a = Split(Read("whole.jsonl")), b = Split(again.out);
    ASSERT_EQ(a.runs.size(), 15u);
    EXPECT_EQ(Timeless(a.header), Timeless(b.header));
    EXPECT_NE(a.header.find("\"unreadable_rule_lines\":1"), std::string::npos);
    EXPECT_EQ(Read("whole.jsonl").substr(a.header.size() + 1),
              again.out.substr(b.header.size() + 1));

    // Two jobs, and three shards: the same runs, each once.
    EXPECT_EQ(Split(Call(std::string(kGrid) + " --jobs 2").out).runs, a.runs);
    std::vector<std::string> union_;
    std::string files;
    for (int i = 1; i <= 3; ++i) {
        const std::string name = "shard" + std::to_string(i) + ".jsonl";
        const Result shard =
            Call(std::string(kGrid) + " --shard " + std::to_string(i) + "/3 --output " + name);
        ASSERT_EQ(shard.status, 0) << shard.err;
        const Lines part = Split(Read(name.c_str()));
        EXPECT_EQ(part.runs.size(), 5u);
        union_.insert(union_.end(), part.runs.begin(), part.runs.end());
        files.append(" ").append(name);
    }
    std::sort(union_.begin(), union_.end());
    std::vector<std::string> all = a.runs;
    std::sort(all.begin(), all.end());
    EXPECT_EQ(union_, all);
    for (const char* style : {"", " --csv", " --markdown"}) {
        const Result merged = Call("census-summary" + files + style);
        const Result single = Call(std::string("census-summary whole.jsonl") + style);
        ASSERT_EQ(merged.status, 0) << merged.err;
        EXPECT_EQ(merged.out, single.out) << style;
        EXPECT_NE(merged.out.find("23/36"), std::string::npos);
    }
    EXPECT_NE(Call("census-summary shard1.jsonl").err.find("hold 5 of the census's 15 runs"),
              std::string::npos);

    // Killed after two runs, in the middle of the third: the resume ends the
    // cut line's run whole and adds the rest.
    const std::string text = Read("whole.jsonl");
    std::size_t cut = 0;
    for (int line = 0; line < 3; ++line)
        cut = text.find('\n', cut) + 1;
    folder.Write("killed.jsonl", text.substr(0, cut + 30));
    const Result resumed = Call(std::string(kGrid) + " --output killed.jsonl --resume");
    ASSERT_EQ(resumed.status, 0) << resumed.err;
    const std::string after = Read("killed.jsonl");
    EXPECT_EQ(after.substr(0, cut), text.substr(0, cut));
    EXPECT_EQ(Split(after).runs, a.runs);
    // Nothing left to run: the file stays as it is.
    ASSERT_EQ(Call(std::string(kGrid) + " --output killed.jsonl --resume").status, 0);
    EXPECT_EQ(Read("killed.jsonl"), after);

    // Another census's file is refused and kept; so is a file given without --resume.
    const struct {
        std::string args;
        const char* message;
    } refused[] = {
        {std::string(kGrid) + " --generations 151 --output whole.jsonl --resume",
         "holds another census"},
        {std::string(kGrid) + " --shard 1/2 --output whole.jsonl --resume", "holds another census"},
        {std::string(kGrid) + " --output whole.jsonl", "already exists"},
        {std::string(kGrid) + " --output rules.txt --resume", "not a census file"},
    };
    for (const auto& r : refused) {
        const Result no = Call(r.args);
        EXPECT_EQ(no.status, 1) << r.args;
        EXPECT_NE(no.err.find(r.message), std::string::npos) << no.err;
    }
    EXPECT_EQ(Read("whole.jsonl"), text);
    const Result otherCensus = Call("census-summary whole.jsonl shard1.jsonl killed.jsonl");
    EXPECT_EQ(otherCensus.status, 0) << otherCensus.err;
}

TEST_F(Census, OneRunInCensusAndInRunGivesTheSamePopulations) {
    // Random fills make the seed matter; the census then runs to the limit.
    folder.Write("rain.zlf",
                 Zlf({KeyLine("#FieldHeight:", "40"), KeyLine("#FieldWidth:", "40"), "[Land]",
                      KeyLine("#MainFillRandom", "1"), KeyLine("#RandomFillIntensity", "100"),
                      "[Main Field]", "#L 20$20.2A$19.2A$20.A"}));
    const Result census = Call("census --base rain.zlf --seeds 11..11 --generations 40");
    ASSERT_EQ(census.status, 0) << census.err;
    const Result run = Call("run rain.zlf --seed 11 --generations 40");
    ASSERT_EQ(run.status, 0) << run.err;
    long long born = 0, died = 0, live = 0, last = 0;
    for (const std::string& line : SplitLines(run.out)) {
        long long g, l, first, b, d;
        if (std::sscanf(line.c_str(), "%lld %lld %lld %lld %lld", &g, &l, &first, &b, &d) == 5) {
            born += b;
            died += d;
            live += l;
            last = l;
        }
    }
    const std::string line = Split(census.out).runs.at(0);
    EXPECT_NE(line.find("\"outcome\":\"active\",\"period\":null,\"generation\":40,"),
              std::string::npos)
        << line;
    for (const auto& [key, value] : {std::pair{"live_final", last},
                                     {"born_total", born},
                                     {"died_total", died},
                                     {"live_total", live}}) {
        std::string field = "\"";
        field.append(key).append("\":").append(std::to_string(value)).append(",");
        EXPECT_NE(line.find(field), std::string::npos) << field << " " << line;
    }
    EXPECT_GT(born, 0);
}

TEST_F(Census, WrongUsageAndUnwritableOutput) {
    folder.Write("rules.txt", "nothing here\n");
    for (const char* bad :
         {"census --bogus", "census --seeds 5..2", "census --soup 0x4", "census --density 10",
          "census --family life", "census --rules-random 3 --family odd", "census --resume",
          "census --shard 3/2", "census --weights 2..1 --rules-random 1", "census --jobs 0",
          "census-summary", "census-summary --csv --markdown x"}) {
        const Result r = Call(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
    }
    const struct {
        const char* args;
        const char* message;
    } failures[] = {
        {"census --rules rules.txt", "no line reads as a rule"},
        {"census --rules none.txt", "cannot read the rules file"},
        {"census --base none.rle", "none.rle"},
        {"census --output no/such/folder/out.jsonl", "cannot write no/such/folder/out.jsonl"},
        {"census --output /dev/full", "No space left on device"},
        {"census >/dev/full", "No space left on device"},
        {"census-summary rules.txt", "not a census file"},
    };
    for (const auto& f : failures) {
        const Result r = Call(f.args);
        EXPECT_EQ(r.status, 1) << f.args;
        EXPECT_NE(r.err.find(f.message), std::string::npos) << f.args << ": " << r.err;
    }
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

TEST_F(Census, RunsShownAsAnimatedGifs) {
    // A block ages through the palette: after generation k its cells hold k + 1.
    folder.Write("block.zlf", Zlf({KeyLine("#FieldHeight:", "30"), KeyLine("#FieldWidth:", "40"),
                                   "[Main Field]", "#L 4$5.2A$5.2A"}));
    const Result r = Call("run block.zlf --generations 9 --gif b.gif --gif-scale 3 --gif-every 2");
    ASSERT_EQ(r.status, 0) << r.err;
    int width = 0;
    const auto frames = Frames(folder / "b.gif", width);
    ASSERT_EQ(frames.size(), 4u);  // generations 2, 4, 6, 8
    EXPECT_EQ(width, 120);
    const ColourModel colours;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        const std::uint32_t state = Rgb(colours.ColourOfState(static_cast<int>(2 * k + 3)));
        // The block is cells 5..6 by 4..5: pixels 12..17 by 9..14.
        EXPECT_EQ(frames[k][13 * 120 + 16], state) << k;
        EXPECT_EQ(frames[k][9 * 120 + 12], state) << k;
        EXPECT_EQ(frames[k][13 * 120 + 18], Rgb(colours.BackgroundColour)) << k;
        EXPECT_EQ(frames[k][8 * 120 + 13], Rgb(colours.BackgroundColour)) << k;
        EXPECT_EQ(frames[k][0], Rgb(colours.BackgroundColour)) << k;
    }
    EXPECT_NE(frames[0][13 * 120 + 16], frames[1][13 * 120 + 16]);

    // Past the limits: a clear reason, and no file.
    folder.Write("wide.zlf", Zlf({KeyLine("#FieldHeight:", "30"), KeyLine("#FieldWidth:", "100")}));
    const struct {
        const char* args;
        const char* message;
    } refused[] = {
        {"wide.zlf --generations 3 --gif big.gif --gif-scale 41", "4100 by 1230 pixels"},
        {"block.zlf --generations 20001 --gif big.gif", "20001 frames are past the limit"},
        {"block.zlf --generations 3 --gif-scale 2", "belong to --gif"},
        {"block.zlf --generations 3 --gif big.gif --gif-scale 65", "from 1 to 64"},
    };
    for (const auto& no : refused) {
        const Result bad = Call(std::string("run ") + no.args);
        EXPECT_EQ(bad.status, 2) << no.args;
        EXPECT_NE(bad.err.find(no.message), std::string::npos) << bad.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "big.gif"));
    const Result unwritable = Call("run block.zlf --generations 2 --gif no/such/b.gif");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write no/such/b.gif"), std::string::npos)
        << unwritable.err;
}

}  // namespace
}  // namespace zentorix
