#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "cli/cli_support.h"

namespace zentorix {
namespace {

// How every experiment of the library is run, here and by record_museum.sh;
// the recording names the options it was made with.
constexpr const char* kRunOptions = "--generations 100 --plane --seed 1";
constexpr const char* kRecordAgain =
    "\n(after a deliberate change of the engine, the format or the library, record again "
    "with tests/cli/record_museum.sh and review the difference)";

// The recording: its options line, then per experiment a line "== PATH" and the
// lines the batch program printed.
std::map<std::string, std::vector<std::string>> ReadRecording(std::string& options) {
    std::map<std::string, std::vector<std::string>> series;
    std::vector<std::string>* block = nullptr;
    for (const std::string& line : test::FileLines(ZENTORIX_MUSEUM_RECORDING)) {
        if (line.rfind("== ", 0) == 0)
            block = &series[line.substr(3)];
        else if (block)
            block->push_back(line);
        else if (line.rfind("# options:", 0) == 0)
            options = line;
    }
    return series;
}

// A description is a Ukrainian part, a blank line, and an English part: more
// Cyrillic than Latin letters in the first, the other way round in the second.
std::string DescriptionFault(const std::filesystem::path& file) {
    std::vector<std::string> parts(1);
    for (const std::string& line : test::FileLines(file))
        if (line == "#D ")
            parts.emplace_back();
        else if (line.rfind("#D ", 0) == 0)
            parts.back() += line.substr(3);
    if (parts.size() != 2)
        return "has " + std::to_string(parts.size()) + " description parts, not two";
    int latinMinusCyrillic[2] = {0, 0};
    for (int part = 0; part < 2; ++part)
        for (unsigned char c : parts[part])  // 0xD0..0xD2 lead U+0400..U+04BF
            latinMinusCyrillic[part] +=
                ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') - (c == 0xD0 || c == 0xD1 || c == 0xD2);
    if (latinMinusCyrillic[0] >= 0)
        return "its first description part is not Ukrainian";
    if (latinMinusCyrillic[1] <= 0)
        return "its second description part is not English";
    return "";
}

// Every experiment shipped in the library runs as recorded: a change of the
// engine or of the native format cannot alter the library unnoticed.
TEST(Museum, EveryExperimentRunsAsRecorded) {
    const std::filesystem::path root = ZENTORIX_MUSEUM;
    std::string options;
    const auto recording = ReadRecording(options);
    ASSERT_EQ(options, std::string("# options: ") + kRunOptions)
        << "the recording was made with other options" << kRecordAgain;

    std::vector<std::string> files;
    int programOnly = 0;  // experiments that only this program can run
    test::TempFolder dir;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().lexically_relative(root).generic_string();
        SCOPED_TRACE(name);
        files.push_back(name);
        const std::string folder = name.substr(0, name.find('/'));
        EXPECT_NE(folder, name) << "every experiment lies in a subfolder";
        programOnly +=
            folder == "06-Weights-5x5" || folder == "07-Landscapes" || folder == "08-Other-Reality";
        EXPECT_TRUE(entry.path().extension() == ".zlf" &&
                    test::TempFolder::Read(entry.path()).rfind("#Zentorix\r\n", 0) == 0)
            << "not a native file";
        EXPECT_EQ(DescriptionFault(entry.path()), "");

        const auto recorded = recording.find(name);
        if (recorded == recording.end()) {
            ADD_FAILURE() << "the recording has no series for this experiment" << kRecordAgain;
            continue;
        }
        // Standard output and standard error, in the order written.
        std::string args = "run ";
        args.append(test::Quote(entry.path())).append(" ").append(kRunOptions);
        test::CliResult run = test::RunCli(dir.Path(), args, true);
        if (run.status != 0)
            run.lines.push_back("exit status " + std::to_string(run.status));
        EXPECT_EQ(run.lines, recorded->second)
            << "the opened field, then a line a generation" << kRecordAgain;
    }
    for (const auto& [name, series] : recording)
        EXPECT_TRUE(std::find(files.begin(), files.end(), name) != files.end())
            << name << " is recorded but missing from the library" << kRecordAgain;
    EXPECT_GE(files.size(), 40u) << "the library holds too few experiments";
    EXPECT_GE(programOnly, 15) << "too few experiments that only this program can run";
}

}  // namespace
}  // namespace zentorix
