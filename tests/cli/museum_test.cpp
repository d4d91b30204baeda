#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "cli/cli_support.h"

namespace zentorix {
namespace {

// How every experiment of the library is run, here and by record_museum.sh;
// the recording names the options it was made with.
constexpr const char* kRunOptions = "--generations 100 --plane --seed 1";
constexpr const char* kRecordingOptionsLine = "# options: --generations 100 --plane --seed 1";
constexpr const char* kBlockPrefix = "== ";
constexpr const char* kRecordAgain =
    "\n(after a deliberate change of the engine, the format or the library, record again "
    "with tests/cli/record_museum.sh and review the difference)";

// The folders of experiments that only this program can run.
const std::set<std::string> kProgramOnlyFolders = {"06-Weights-5x5", "07-Landscapes",
                                                   "08-Other-Reality"};

struct Recording {
    std::string options;
    std::map<std::string, std::vector<std::string>> series;  // by library path
};

Recording ReadRecording(const std::filesystem::path& file) {
    Recording r;
    const auto lines = ReadTextLines(file);
    if (!lines)
        return r;
    std::vector<std::string>* block = nullptr;
    for (const std::string& line : *lines) {
        if (line.rfind(kBlockPrefix, 0) == 0)
            block = &r.series[line.substr(3)];
        else if (block)
            block->push_back(line);
        else if (line.rfind("# options:", 0) == 0)
            r.options = line;
    }
    return r;
}

// The library's files by their path below the library folder, '/' between parts.
std::vector<std::string> LibraryFiles(const std::filesystem::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(entry.path().lexically_relative(root).generic_string());
    return files;
}

// Standard output and standard error of the batch program, in the order written.
std::vector<std::string> RunExperiment(const std::filesystem::path& file) {
    test::TempFolder dir;
    std::string args = "run ";
    args.append(test::Quote(file)).append(" ").append(kRunOptions);
    test::CliResult r = test::RunCli(dir.Path(), args, true);
    if (r.status != 0)
        r.lines.push_back("exit status " + std::to_string(r.status));
    return r.lines;
}

// Letters of the Latin and of the Cyrillic alphabet in a UTF-8 text.
std::pair<int, int> LatinAndCyrillic(const std::string& text) {
    int latin = 0, cyrillic = 0;
    for (unsigned char c : text) {
        latin += (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
        cyrillic += c == 0xD0 || c == 0xD1 || c == 0xD2;  // lead bytes of U+0400..U+04BF
    }
    return {latin, cyrillic};
}

// A description is a Ukrainian part, a blank line, and an English part.
std::string DescriptionFault(const std::filesystem::path& file) {
    std::vector<std::string> parts(1);
    for (const std::string& line : ReadTextLines(file).value_or(std::vector<std::string>{})) {
        if (line.rfind("#D ", 0) != 0)
            continue;
        if (line.size() == 3)
            parts.emplace_back();
        else
            parts.back() += line.substr(3);
    }
    if (parts.size() != 2)
        return "has " + std::to_string(parts.size()) + " description parts, not two";
    const auto [latinUk, cyrillicUk] = LatinAndCyrillic(parts[0]);
    const auto [latinEn, cyrillicEn] = LatinAndCyrillic(parts[1]);
    if (cyrillicUk <= latinUk)
        return "its first description part is not Ukrainian";
    if (latinEn <= cyrillicEn)
        return "its second description part is not English";
    return "";
}

// Every experiment shipped in the library runs as recorded: a change of the
// engine or of the native format cannot alter the library unnoticed.
TEST(Museum, EveryExperimentRunsAsRecorded) {
    const std::filesystem::path root = ZENTORIX_MUSEUM;
    const Recording recording = ReadRecording(ZENTORIX_MUSEUM_RECORDING);
    ASSERT_EQ(recording.options, kRecordingOptionsLine)
        << "the recording was made with other options" << kRecordAgain;

    const std::vector<std::string> files = LibraryFiles(root);
    std::map<std::string, int> perFolder;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const std::size_t slash = name.find('/');
        EXPECT_NE(slash, std::string::npos) << "every experiment lies in a subfolder";
        ++perFolder[name.substr(0, slash)];
        EXPECT_EQ(std::filesystem::path(name).extension(), ".zlf");
        const auto bytes = ReadFileBytes(root / name);
        EXPECT_EQ(bytes.value_or("").rfind("#Zentorix\r\n", 0), 0u) << "not a native file";
        const std::string fault = DescriptionFault(root / name);
        EXPECT_TRUE(fault.empty()) << fault;

        const auto recorded = recording.series.find(name);
        if (recorded == recording.series.end()) {
            ADD_FAILURE() << "the recording has no series for this experiment" << kRecordAgain;
            continue;
        }
        const std::vector<std::string> run = RunExperiment(root / name);
        const std::vector<std::string>& expected = recorded->second;
        for (std::size_t i = 0; i < std::max(run.size(), expected.size()); ++i) {
            const std::string got = i < run.size() ? run[i] : "(nothing)";
            const std::string want = i < expected.size() ? expected[i] : "(nothing)";
            if (got != want) {
                ADD_FAILURE() << (i == 0 ? std::string("the opened field")
                                         : "generation " + std::to_string(i))
                              << " differs:\n  recorded " << want << "\n  now      " << got
                              << kRecordAgain;
                break;
            }
        }
    }
    for (const auto& [name, series] : recording.series)
        EXPECT_TRUE(std::find(files.begin(), files.end(), name) != files.end())
            << name << " is recorded but missing from the library" << kRecordAgain;

    EXPECT_GE(files.size(), 40u) << "the library holds too few experiments";
    int programOnly = 0;
    for (const std::string& folder : kProgramOnlyFolders)
        programOnly += perFolder[folder];
    EXPECT_GE(programOnly, 15) << "too few experiments that only this program can run";
}

}  // namespace
}  // namespace zentorix
