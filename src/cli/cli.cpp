#include "cli/cli.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/census_command.h"
#include "engine/format_error.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "formats/pattern_load.h"
#include "formats/save_as.h"
#include "formats/text_file.h"
#include "gif/gif_animation.h"
#include "stats/statistics_recorder.h"
#include "view/field_frame.h"

namespace zentorix::cli {

namespace {

constexpr const char* kHelp =
    R"(zentorix-cli - run Zentorix experiments without a window

usage:
  zentorix-cli run FILE [--generations N] [--torus|--plane] [--seed S] [--quiet] [--save OUT]
                        [--record FROM:TO [--stat-file PATH]]
                        [--gif OUT.gif [--gif-scale K] [--gif-every N] [--gif-delay MS]]
  zentorix-cli convert IN OUT
%s  zentorix-cli --help        (also: run --help, convert --help, census --help)
  zentorix-cli --version

run      opens FILE (any format the program opens: .zlf/.mlf/.qlf/.ini, RLE, Life 1.05,
         Life 1.06, MCell, Life 2.0, one-bit BMP) with the program's start-up state
         (a 160 by 140 field, the start-up rules and colours, ClearForLoad on) and
         runs N generations (default 100).
           --torus / --plane   choose the wrapped or the bounded field; without
                               either the file decides ("#WRAP"), else the plane
           --seed S            fixes the source of random fills, so runs repeat
           --quiet             print only the first line and the last generation
           --save OUT          write the final state; the format follows OUT's
                               extension: .zlf (everything), .lif, .mcl, .rle
         Output: first "field <W>x<H> <torus|plane> live <n> rule <rule>", where n
         counts the live cells the step counts, then one line per generation:
         "<generation> <live> <first> <born> <died>". A run that dies out with
         auto-stop on (set by a loaded file) ends with that generation.
           --record FROM:TO    records generations FROM to TO (1..32000) into
                               "stat.txt" as the window's automatic recording
                               does; a population that dies out ends it early.
                               Without --generations the run ends with the
                               recording; a run that ends first closes the file.
           --stat-file PATH    where to write it (default: stat.txt in the
                               current folder)
           --gif OUT.gif       an animated GIF of the run in the program's
                               colours: a frame after every N-th generation
                               (--gif-every, default 1), K pixels a cell
                               (--gif-scale 1..64, default 2), MS milliseconds a
                               frame (--gif-delay, default 100); at most 4096
                               pixels each way and 10000 frames
convert  opens IN and saves OUT as --save does.

%s
exit status: 0 success; 1 a file is missing, is not a regular file, fits no
format, or cannot be read or written, standard output included, or a recording
never began (the reason on standard error); 2 wrong usage.
)";

// The help with the census commands in their places.
std::string HelpText() {
    const std::string_view help = kHelp;
    const std::size_t usage = help.find("%s");
    const std::size_t explanation = help.find("%s", usage + 2);
    std::string text(help.substr(0, usage));
    text.append(kCensusUsage)
        .append(help.substr(usage + 2, explanation - usage - 2))
        .append(kCensusHelp)
        .append(help.substr(explanation + 2));
    return text;
}

struct Options {
    std::string command;
    std::filesystem::path input;
    std::optional<std::filesystem::path> save;
    long long generations = 100;
    std::optional<bool> torus;
    std::optional<std::uint64_t> seed;
    bool quiet = false;
    bool generationsGiven = false;
    std::optional<std::pair<int, int>> record;  // FROM, TO
    std::optional<std::filesystem::path> statFile;
    std::optional<std::filesystem::path> gif;
    int gifScale = 2;
    long long gifEvery = 1;
    int gifDelay = 100;
    bool gifOptions = false;
};

struct UsageError {
    std::string message;
};

template <typename T>
T Number(const std::string& text, const char* what) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError{std::string("invalid ") + what + ": '" + text + "'"};
    return value;
}

// "FROM:TO", both generations 1..32000, FROM not above TO.
std::pair<int, int> RecordRange(const std::string& text) {
    const std::size_t colon = text.find(':');
    const UsageError wrong{"invalid recording range '" + text +
                           "': give FROM:TO, generations 1 to 32000, FROM not above TO"};
    if (colon == std::string::npos)
        throw wrong;
    int from = 0;
    int to = 0;
    try {
        from = Number<int>(text.substr(0, colon), "recording start");
        to = Number<int>(text.substr(colon + 1), "recording end");
    } catch (const UsageError&) {
        throw wrong;
    }
    if (from < 1 || to > 32000 || from > to)
        throw wrong;
    return {from, to};
}

Options Parse(const std::vector<std::string>& args) {
    Options o;
    if (args.empty())
        throw UsageError{"no command given"};
    o.command = args[0];
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (o.command == "run" && a == "--generations") {
            o.generations = Number<long long>(value(), "generation count");
            o.generationsGiven = true;
            if (o.generations < 0)
                throw UsageError{"the generation count must not be negative"};
        } else if (o.command == "run" && (a == "--torus" || a == "--plane")) {
            if (o.torus)
                throw UsageError{"give either --torus or --plane, once"};
            o.torus = a == "--torus";
        } else if (o.command == "run" && a == "--seed") {
            o.seed = Number<std::uint64_t>(value(), "seed");
        } else if (o.command == "run" && a == "--quiet") {
            o.quiet = true;
        } else if (o.command == "run" && a == "--record") {
            o.record = RecordRange(value());
        } else if (o.command == "run" && a == "--stat-file") {
            o.statFile = value();
        } else if (o.command == "run" && a == "--gif") {
            o.gif = value();
        } else if (o.command == "run" && a == "--gif-scale") {
            o.gifScale = Number<int>(value(), "GIF scale");
            o.gifOptions = true;
            if (o.gifScale < 1 || o.gifScale > 64)
                throw UsageError{"the GIF scale must be from 1 to 64 pixels a cell"};
        } else if (o.command == "run" && a == "--gif-every") {
            o.gifEvery = Number<long long>(value(), "GIF frame step");
            o.gifOptions = true;
            if (o.gifEvery < 1)
                throw UsageError{"--gif-every must be 1 or more"};
        } else if (o.command == "run" && a == "--gif-delay") {
            o.gifDelay = Number<int>(value(), "GIF delay");
            o.gifOptions = true;
            if (o.gifDelay < 10 || o.gifDelay > 655350)
                throw UsageError{"the GIF delay must be from 10 to 655350 ms"};
        } else if (o.command == "run" && a == "--save") {
            o.save = value();
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            throw UsageError{"unknown option " + a};
        } else {
            positional.push_back(a);
        }
    }
    const std::size_t wanted = o.command == "run" ? 1 : o.command == "convert" ? 2 : 0;
    if (wanted == 0)
        throw UsageError{"unknown command '" + o.command + "'"};
    if (positional.size() != wanted)
        throw UsageError{"wrong number of file names"};
    o.input = positional[0];
    if (o.command == "convert")
        o.save = positional[1];
    if (o.statFile && !o.record)
        throw UsageError{"--stat-file needs --record"};
    if (o.gifOptions && !o.gif)
        throw UsageError{"--gif-scale, --gif-every and --gif-delay belong to --gif"};
    if (o.save && !SaveFormatOf(*o.save))
        throw UsageError{"cannot tell the format of '" + o.save->string() +
                         "': use .zlf, .lif, .mcl or .rle"};
    return o;
}

// Live cells over the range the step counts.
long long CountLive(const World& world, bool torus) {
    const int first = torus ? 0 : 1;
    const int lastX = torus ? world.FieldWidth() : world.ExtentX();
    const int lastY = torus ? world.FieldHeight() : world.ExtentY();
    long long n = 0;
    for (int x = first; x <= lastX; ++x)
        for (int y = first; y <= lastY; ++y)
            n += world.MainField.at(x, y) > 0;
    return n;
}

// Problems of a file that did open or save go to standard error; the exit status
// stays 0, since the work was done.
void ReportProblems(const std::filesystem::path& file, FileAction action,
                    const FileProblems& problems, std::ostream& err) {
    const std::string text = FileProblemsText(file, action, problems);
    if (!text.empty())
        err << "zentorix-cli: " << text << "\n";
}

void Save(const World& world, Settings settings, const std::filesystem::path& file,
          std::ostream& err) {
    const SaveFormat format = *SaveFormatOf(file);
    if (format == SaveFormat::Zlf) {
        // Every save check box on, so nothing of the experiment is left out.
        for (bool Settings::*box : {&Settings::SaveLandCheckBox, &Settings::SaveMuseumCheckBox,
                                    &Settings::SaveRulesCheckBox, &Settings::SaveColorPCheckBox,
                                    &Settings::SaveStatCheckBox, &Settings::SaveOptionCheckBox,
                                    &Settings::SaveColorCheckBox, &Settings::SaveBirthCheckBox,
                                    &Settings::SaveDeathCheckBox, &Settings::SaveReal2CheckBox})
            settings.*box = true;
    }
    const SaveResult saved = SaveAs(world, settings, file, format);
    ReportProblems(saved.path, FileAction::Saved, saved.problems, err);
}

// Collects the number of each finished generation and the auto-stop request, and
// records statistics when asked to.
struct BatchObserver : StepObserver {
    Settings* settings = nullptr;
    StatisticsRecorder* recorder = nullptr;
    std::int32_t generation = 0;
    bool stopped = false;
    void GenerationFinished(const World& world) override {
        generation = world.Counters.Generation;
        if (recorder)
            recorder->RecordGenerationStatistics(world, *settings);
    }
    void StopRequested() override { stopped = true; }
};

// Standard output that remembers why writing it failed (a full disk, a closed
// pipe): the run then stops and the program says so instead of reporting success.
class Output {
  public:
    explicit Output(std::ostream& out) : out_(out) {}
    bool Write(const std::string& text) {
        errno = 0;
        out_ << text;
        return Check();
    }
    bool Flush() {
        errno = 0;
        out_.flush();
        return Check();
    }
    bool Failed() const { return !out_; }
    std::string Reason() const {
        return error_ ? std::generic_category().message(error_) : "write error";
    }

  private:
    bool Check() {
        if (!out_ && error_ == 0)
            error_ = errno;
        return static_cast<bool>(out_);
    }
    std::ostream& out_;
    int error_ = 0;
};

int Execute(const Options& o, Output& out, std::ostream& err) {
    std::error_code ec;
    const auto status = std::filesystem::status(o.input, ec);
    if (!std::filesystem::exists(status)) {
        err << "zentorix-cli: " << o.input.string() << ": no such file\n";
        return 1;
    }
    if (!std::filesystem::is_regular_file(status)) {
        err << "zentorix-cli: " << o.input.string() << ": not a regular file\n";
        return 1;
    }
    auto world = std::make_unique<World>();
    Settings settings;
    if (o.seed)
        world->Random.FixSeed(*o.seed);
    const OpenResult opened = OpenPatternFile(*world, settings, o.input);
    if (opened.format == PatternFormat::None) {
        err << "zentorix-cli: " << o.input.string() << ": not a pattern format Zentorix reads\n";
        return 1;
    }
    ReportProblems(o.input, FileAction::Opened, opened.problems, err);
    if (o.command == "convert") {
        Save(*world, settings, *o.save, err);
        return 0;
    }

    const bool torus = o.torus.value_or(settings.EnableTOR);
    settings.EnableTOR = torus;
    std::string text = "field " + std::to_string(world->FieldWidth()) + "x" +
                       std::to_string(world->FieldHeight()) + (torus ? " torus" : " plane") +
                       " live " + std::to_string(CountLive(*world, torus)) + " rule " +
                       RuleToString(*world, 0, 0) + "\n";
    out.Write(text);
    BatchObserver observer;
    std::unique_ptr<StatisticsRecorder> recorder;
    long long generations = o.generations;
    if (o.record) {
        // The window's automatic recording, armed for this run.
        recorder = std::make_unique<StatisticsRecorder>(o.statFile.value_or("stat.txt"));
        settings.StartRecordStatistic = o.record->first;
        settings.EndRecordStatistic = o.record->second;
        recorder->AutoStartRecordClick(settings, true);
        observer.settings = &settings;
        observer.recorder = recorder.get();
        if (!o.generationsGiven)
            generations = std::numeric_limits<long long>::max();
    }
    std::unique_ptr<gif::Animation> animation;
    std::optional<FieldFrames> frames;
    std::vector<std::uint8_t> pixels;
    const CellRect area{1, 1, world->FieldWidth(), world->FieldHeight()};
    if (o.gif) {
        // A recording without a generation count ends with the recording.
        const long long span = o.record && !o.generationsGiven ? o.record->second : generations;
        const long long count = span / o.gifEvery;
        const std::string problem =
            gif::LimitProblem(static_cast<long long>(world->FieldWidth()) * o.gifScale,
                              static_cast<long long>(world->FieldHeight()) * o.gifScale, count);
        if (!problem.empty()) {
            err << "zentorix-cli: no GIF: " << problem << "\n";
            return 2;
        }
        frames.emplace(settings.Colours);
        animation = std::make_unique<gif::Animation>(world->FieldWidth() * o.gifScale,
                                                     world->FieldHeight() * o.gifScale,
                                                     frames->Palette(), o.gifDelay);
    }
    std::string last;
    const StepForm form = torus ? StepForm::Torus : StepForm::Plain;
    for (long long g = 0; g < generations && !observer.stopped && !out.Failed(); ++g) {
        if (recorder && !o.generationsGiven && !recorder->Recording() && !settings.AutoStartRecord)
            break;  // the recording is over

        GenerationStep(*world, settings, observer, form);
        const GenerationCounters& c = world->Counters;
        last = std::to_string(observer.generation) + " " + std::to_string(c.LiveCount) + " " +
               std::to_string(c.StateOneCount) + " " + std::to_string(c.BornCount) + " " +
               std::to_string(c.DiedCount) + "\n";
        if (!o.quiet)
            out.Write(last);
        if (animation && (g + 1) % o.gifEvery == 0) {
            frames->Render(*world, area, o.gifScale, pixels);
            animation->AddFrame(pixels);
        }
    }
    if (o.quiet)
        out.Write(last);
    if (recorder) {
        // The run ends as the Stop command ends it: a recording still on is closed.
        world->Counters.Generation = 1;
        recorder->RunStopped(*world, settings);
        const std::string failure = recorder->TakeFailure();
        if (!failure.empty()) {
            err << "zentorix-cli: " << failure << "\n";
            return 1;
        }
        if (settings.AutoStartRecord) {
            err << "zentorix-cli: the run ended before generation " << o.record->first
                << ": nothing was recorded\n";
            return 1;
        }
    }
    if (o.save)
        Save(*world, settings, *o.save, err);
    if (animation) {
        if (animation->Frames() == 0) {
            err << "zentorix-cli: no GIF: the run ended before its first frame\n";
            return 1;
        }
        if (const std::string failure = animation->Save(*o.gif); !failure.empty()) {
            err << "zentorix-cli: cannot write " << o.gif->string() << ": " << failure << "\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto isHelp = [](const std::string& a) { return a == "--help" || a == "-h"; };
    const bool command = !args.empty() && (args[0] == "run" || args[0] == "convert" ||
                                           args[0] == "census" || args[0] == "census-summary");
    const bool help = !args.empty() && (isHelp(args[0]) || args[0] == "help" ||
                                        (command && std::any_of(args.begin(), args.end(), isHelp)));
    Output output(out);
    // Whatever was written must reach its place, or the status says it did not.
    auto finish = [&](int status) {
        if (output.Flush())
            return status;
        err << "zentorix-cli: cannot write the output: " << output.Reason() << "\n";
        return 1;
    };
    if (help) {
        output.Write(HelpText());
        return finish(0);
    }
    if (args.size() == 1 && args[0] == "--version") {
        output.Write("zentorix-cli " ZENTORIX_VERSION "\n");
        return finish(0);
    }
    if (command && args[0] == "census")
        return finish(CensusCommand({args.begin() + 1, args.end()}, out, err));
    if (command && args[0] == "census-summary")
        return finish(CensusSummaryCommand({args.begin() + 1, args.end()}, out, err));
    try {
        return finish(Execute(Parse(args), output, err));
    } catch (const UsageError& e) {
        err << "zentorix-cli: " << e.message << "\n(zentorix-cli --help tells how to use it)\n";
        return 2;
    } catch (const std::exception& e) {
        err << "zentorix-cli: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace zentorix::cli
