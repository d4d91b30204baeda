#include "cli/census_command.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <optional>
#include <system_error>

#include "census/census_plan.h"
#include "census/census_runner.h"
#include "census/census_summary.h"
#include "formats/text_file.h"

namespace zentorix::cli {

const char* const kCensusUsage =
    R"(  zentorix-cli census [--rules FILE] [--rules-random N [--family life|generations|weighted]
                       [--seed S] [--weights A..B]] [--base FILE] [--field WxH]
                       [--soup WxH [--density P]] [--seeds A..B] [--generations N]
                       [--torus|--plane] [--max-period N] [--output FILE [--resume]]
                       [--jobs N] [--shard I/N]
  zentorix-cli census-summary FILE... [--csv|--markdown]
)";

const char* const kCensusHelp =
    R"(census   runs every rule with every seed and tells how each run ends: "dies"
         (the field empty for good), "still", "periodic" (a field repeated,
         confirmed cell by cell, period up to --max-period, default 256) or
         "active" at the limit (--generations, default 1000).
           --rules FILE        one rule a line as the typed-rule box reads them
                               (B3/S23, 23/3, 345/2/4, NW1,NN1,...,RB3,RS2,RS3,);
                               a line that is not a rule is named and left out
           --rules-random N    N reproducible random rules of the family (default
                               life), from the generator seed S (default 1);
                               weighted rules draw each inner weight from A..B
                               (default -1..1)
           --base FILE         where every run starts (any file the program
                               opens; default the start-up state); without rules
                               its own rule runs
           --field WxH         the field size (25..999)
           --soup WxH          a random soup in the field's centre, P percent of
                               its cells set (default 50), drawn from the run's seed
           --seeds A..B        the seeds of every rule (default 1..1)
           --output FILE       JSON Lines (default standard output): a header,
                               then one line per run as it ends; an existing file
                               is only continued with --resume, which skips the
                               runs it holds and refuses a file of other parameters
           --jobs N            runs N experiments at once (default 1)
           --shard I/N         runs the I-th of N parts of the grid, so N
                               processes on N machines cover it exactly once
census-summary
         merges census files (the shards of one census) into a table per rule:
         runs, % dying, % still, % periodic with the common periods (period:runs),
         % active, median generation of settling, mean final population.
)";

namespace {

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

template <typename T>
T Ranged(const std::string& text, const char* what, T low, T high) {
    const T value = Number<T>(text, what);
    if (value < low || value > high)
        throw UsageError{std::string(what) + " must be from " + std::to_string(low) + " to " +
                         std::to_string(high) + ": '" + text + "'"};
    return value;
}

// "A<sep>B" as two numbers.
template <typename T>
std::pair<T, T> Two(const std::string& text, const std::string& separator, const char* what) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos)
        throw UsageError{std::string("invalid ") + what + ": '" + text + "'"};
    return {Number<T>(text.substr(0, at), what),
            Number<T>(text.substr(at + separator.size()), what)};
}

std::pair<int, int> Size(const std::string& text, const char* what, int low) {
    const auto size = Two<int>(text, "x", what);
    if (size.first < low || size.first > 999 || size.second < low || size.second > 999)
        throw UsageError{std::string(what) + " must be from " + std::to_string(low) +
                         " to 999 cells each way: '" + text + "'"};
    return size;
}

std::string Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    char text[32] = "";
    if (const std::tm* utc = std::gmtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

struct CensusOptions {
    CensusParameters parameters;
    std::optional<std::filesystem::path> output;
    bool resume = false;
    int jobs = 1;
};

CensusOptions ParseCensus(const std::vector<std::string>& args) {
    CensusOptions o;
    CensusParameters& p = o.parameters;
    std::optional<RandomRuleSpec> random;
    bool family = false, seed = false, weights = false, density = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError{a + " needs a value"};
            return args[++i];
        };
        if (a == "--rules") {
            p.rulesFile = std::filesystem::absolute(value());
        } else if (a == "--rules-random") {
            random = random.value_or(RandomRuleSpec{});
            random->count = Ranged<int>(value(), "the number of random rules", 1, 1'000'000);
        } else if (a == "--family") {
            const std::string& name = value();
            family = true;
            p.random = p.random.value_or(RandomRuleSpec{});
            if (name == "life")
                p.random->family = RandomRuleFamily::Life;
            else if (name == "generations")
                p.random->family = RandomRuleFamily::Generations;
            else if (name == "weighted")
                p.random->family = RandomRuleFamily::Weighted;
            else
                throw UsageError{"unknown rule family '" + name +
                                 "': life, generations or weighted"};
        } else if (a == "--seed") {
            seed = true;
            p.random = p.random.value_or(RandomRuleSpec{});
            p.random->seed = Number<std::uint64_t>(value(), "generator seed");
        } else if (a == "--weights") {
            weights = true;
            const auto range = Two<int>(value(), "..", "weight range");
            if (range.first > range.second || range.first < -1000 || range.second > 1000)
                throw UsageError{"the weight range must be A..B, -1000 <= A <= B <= 1000"};
            p.random = p.random.value_or(RandomRuleSpec{});
            p.random->weightMin = range.first;
            p.random->weightMax = range.second;
        } else if (a == "--base") {
            p.start.base = std::filesystem::absolute(value());
        } else if (a == "--field") {
            p.start.field = Size(value(), "the field size", 25);
        } else if (a == "--soup") {
            p.start.soup = Size(value(), "the soup size", 1);
        } else if (a == "--density") {
            density = true;
            p.start.density = Ranged<int>(value(), "the density", 0, 100);
        } else if (a == "--seeds") {
            const auto range = Two<std::uint64_t>(value(), "..", "seed range");
            if (range.first > range.second)
                throw UsageError{"the seed range A..B needs A <= B"};
            p.seedFirst = range.first;
            p.seedLast = range.second;
        } else if (a == "--generations") {
            p.limits.generations =
                Ranged<std::int64_t>(value(), "the generation count", 0, 1'000'000'000);
        } else if (a == "--max-period") {
            p.limits.maxPeriod = Ranged<int>(value(), "the largest period", 1, 100'000);
        } else if (a == "--torus" || a == "--plane") {
            if (p.start.torus)
                throw UsageError{"give either --torus or --plane, once"};
            p.start.torus = a == "--torus";
        } else if (a == "--output") {
            o.output = value();
        } else if (a == "--resume") {
            o.resume = true;
        } else if (a == "--jobs") {
            o.jobs = Ranged<int>(value(), "the number of jobs", 1, 256);
        } else if (a == "--shard") {
            const auto shard = Two<int>(value(), "/", "shard");
            if (shard.second < 1 || shard.second > 1'000'000 || shard.first < 1 ||
                shard.first > shard.second)
                throw UsageError{"the shard I/N needs 1 <= I <= N <= 1000000"};
            p.shardIndex = shard.first;
            p.shardCount = shard.second;
        } else {
            throw UsageError{"unknown option or argument '" + a + "'"};
        }
    }
    // --family, --seed and --weights may come before --rules-random: their values
    // were kept in p.random until now.
    if (random) {
        RandomRuleSpec spec = p.random.value_or(RandomRuleSpec{});
        spec.count = random->count;
        p.random = spec;
    } else if (family || seed || weights) {
        throw UsageError{"--family, --seed and --weights belong to --rules-random"};
    } else {
        p.random.reset();
    }
    if (density && !p.start.soup)
        throw UsageError{"--density belongs to --soup"};
    if (o.resume && !o.output)
        throw UsageError{"--resume needs --output"};
    return o;
}

// The census output: a file or standard output, each line flushed as it is
// written; the first failure is kept with its reason.
class LineWriter {
  public:
    explicit LineWriter(std::ostream& out) : out_(&out) {}
    bool Open(const std::filesystem::path& path, bool append) {
        errno = 0;
        file_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
        out_ = &file_;
        return Check();
    }
    bool Write(const std::string& line) {
        errno = 0;
        out_->write(line.data(), static_cast<std::streamsize>(line.size()));
        out_->flush();
        return Check();
    }
    bool Close() {
        if (file_.is_open()) {
            errno = 0;
            file_.close();
            return Check();
        }
        return !failed_;
    }
    std::string Reason() const {
        return error_ ? std::generic_category().message(error_) : "write error";
    }

  private:
    bool Check() {
        if (!*out_ && !failed_) {
            failed_ = true;
            error_ = errno;
        }
        return !failed_;
    }
    std::ostream* out_;
    std::ofstream file_;
    bool failed_ = false;
    int error_ = 0;
};

int RunCensusCommand(const CensusOptions& o, std::ostream& out, std::ostream& err) {
    CensusPlan plan = MakeCensusPlan(o.parameters);
    const std::string rulesName =
        plan.parameters.rulesFile ? plan.parameters.rulesFile->string() : "";
    for (const RuleLineProblem& p : plan.problems)
        err << "zentorix-cli: " << rulesName << ":" << p.line << ": " << p.problem
            << " (the census goes on without it)\n";
    if (plan.rules.empty()) {
        err << "zentorix-cli: " << rulesName << ": no line reads as a rule\n";
        return 1;
    }
    if (plan.Runs() > kMaxCensusRuns || plan.rules.size() > kMaxCensusRuns ||
        plan.Seeds() > kMaxCensusRuns || plan.Seeds() == 0) {
        err << "zentorix-cli: a census of more than " << kMaxCensusRuns
            << " runs is refused: split the seeds or the rules\n";
        return 2;
    }

    std::vector<bool> done;
    bool append = false;
    LineWriter writer(out);
    if (o.output) {
        const std::filesystem::path& path = *o.output;
        std::error_code ec;
        const bool exists = std::filesystem::exists(path, ec);
        const bool holds = exists && std::filesystem::is_regular_file(path, ec) &&
                           std::filesystem::file_size(path, ec) > 0;
        if (holds && !o.resume) {
            err << "zentorix-cli: " << path.string()
                << " already exists: give --resume to continue it, or another name\n";
            return 1;
        }
        if (holds) {
            const std::optional<std::string> bytes = ReadFileBytes(path);
            if (!bytes) {
                err << "zentorix-cli: cannot read " << path.string() << " to resume it\n";
                return 1;
            }
            const CensusFileContent content = ReadCensusText(*bytes);
            if (!content.error.empty()) {
                err << "zentorix-cli: " << path.string() << ": " << content.error
                    << "; it is left as it is\n";
                return 1;
            }
            const JsonValue* theirs = content.header.Find("parameters");
            if (JsonText(*theirs) != JsonText(ParametersJson(plan.parameters))) {
                err << "zentorix-cli: " << path.string()
                    << " holds another census (its parameters differ): it is not resumed and "
                       "is left as it is\n";
                return 1;
            }
            done.assign(plan.Runs(), false);
            for (const CensusRunRecord& r : content.runs)
                if (r.run < done.size())
                    done[r.run] = true;
            // A line cut short by a kill is written again whole.
            if (content.completeBytes < bytes->size()) {
                std::filesystem::resize_file(path, content.completeBytes, ec);
                if (ec) {
                    err << "zentorix-cli: cannot cut the unfinished last line of " << path.string()
                        << ": " << ec.message() << "\n";
                    return 1;
                }
            }
            append = true;
        }
        if (!writer.Open(path, append)) {
            err << "zentorix-cli: cannot write " << path.string() << ": " << writer.Reason()
                << "\n";
            return 1;
        }
    }
    if (!append && !writer.Write(CensusHeaderLine(plan, ZENTORIX_VERSION, Now()))) {
        err << "zentorix-cli: cannot write the census output: " << writer.Reason() << "\n";
        return 1;
    }
    bool failed = false;
    RunCensus(plan, o.jobs, done, [&](std::uint64_t run, const RunFigures& figures) {
        failed = !writer.Write(CensusRunLine(plan, run, figures));
        return !failed;
    });
    if (failed || !writer.Close()) {
        err << "zentorix-cli: cannot write the census output: " << writer.Reason()
            << "; the census stopped\n";
        return 1;
    }
    return 0;
}

}  // namespace

int CensusCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        return RunCensusCommand(ParseCensus(args), out, err);
    } catch (const UsageError& e) {
        err << "zentorix-cli: " << e.message << "\n(zentorix-cli --help tells how to use it)\n";
        return 2;
    } catch (const std::exception& e) {
        err << "zentorix-cli: " << e.what() << "\n";
        return 1;
    }
}

int CensusSummaryCommand(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
    SummaryStyle style = SummaryStyle::Text;
    std::vector<std::filesystem::path> files;
    for (const std::string& a : args) {
        if (a == "--csv" || a == "--markdown") {
            if (style != SummaryStyle::Text) {
                err << "zentorix-cli: give --csv or --markdown, once\n";
                return 2;
            }
            style = a == "--csv" ? SummaryStyle::Csv : SummaryStyle::Markdown;
        } else if (!a.empty() && a[0] == '-') {
            err << "zentorix-cli: unknown option " << a
                << "\n(zentorix-cli --help tells how to use it)\n";
            return 2;
        } else {
            files.emplace_back(a);
        }
    }
    if (files.empty()) {
        err << "zentorix-cli: census-summary needs one census file or more\n";
        return 2;
    }
    std::vector<CensusRunRecord> runs;
    std::optional<std::string> common;
    std::int64_t expected = 0;
    for (const std::filesystem::path& file : files) {
        const std::optional<std::string> bytes = ReadFileBytes(file);
        if (!bytes) {
            err << "zentorix-cli: cannot read " << file.string() << "\n";
            return 1;
        }
        CensusFileContent content = ReadCensusText(*bytes);
        if (!content.error.empty()) {
            err << "zentorix-cli: " << file.string() << ": " << content.error << "\n";
            return 1;
        }
        const std::string mine =
            JsonText(MergeableParametersJson(*content.header.Find("parameters")));
        if (common && *common != mine) {
            err << "zentorix-cli: " << file.string()
                << " belongs to another census (its parameters differ from "
                << files.front().string() << ")\n";
            return 1;
        }
        common = mine;
        if (const JsonValue* summary = content.header.Find("summary"))
            expected = summary->IntegerOf("runs").value_or(0);
        if (content.unreadableLines > 0)
            err << "zentorix-cli: " << file.string() << ": " << content.unreadableLines
                << " line(s) that are no run were skipped\n";
        runs.insert(runs.end(), std::make_move_iterator(content.runs.begin()),
                    std::make_move_iterator(content.runs.end()));
    }
    const std::vector<RuleSummary> rows = SummariseRuns(runs);
    std::int64_t counted = 0;
    for (const RuleSummary& r : rows)
        counted += r.runs;
    if (counted < expected)
        err << "zentorix-cli: the files hold " << counted << " of the census's " << expected
            << " runs\n";
    out << SummaryTable(rows, style);
    return 0;
}

}  // namespace zentorix::cli
