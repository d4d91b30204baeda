// Text that reads whatever its line ends, is written as UTF-8, and saves that
// leave either the old file or the new one.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

#include "core/format_test_support.h"
#include "formats/native_file.h"
#include "formats/pattern_load.h"
#include "formats/rule_file.h"

namespace zentorix {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// What a user sees of a file of the given bytes, read one way or another.
using Load = std::function<std::string(const TempFolder&, const std::string&)>;

// An RLE file opened as a user opens it: the format, the cells wherever they were
// placed, the rule and the description.
std::string Opened(const TempFolder& dir, const std::string& bytes) {
    const auto world = std::make_unique<World>();
    Settings settings;
    const OpenResult r = OpenPatternFile(*world, settings, dir.Write("g.rle", bytes));
    std::ostringstream s;
    s << "format " << static_cast<int>(r.format) << " at";
    for (const auto& [x, y, state] : test::Shape(world->MainField))
        s << ' ' << x << ',' << y << '=' << state;
    s << " rule " << RuleToString(*world, 0, 0) << " text|" << test::Joined(world->Description);
    return s.str();
}

constexpr std::string_view kRule = "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RB6,RS2,RS3,";

// Text gives the same result with LF, CR LF, lone CR and CR CR LF line ends, and
// with a UTF-8 byte order mark. A lone CR made an RLE file open empty (reported as
// success). Every reader splits its lines alike; a file is decoded on one of two
// ways, a pattern's and the one of texts read whole (here a rule file).
TEST(TextFiles, EveryReaderTakesEveryLineEnd) {
    // What is read, its text with LF line ends, how it is read, and a part of the
    // result with LF.
    using Case = std::tuple<const char*, std::string, Load, std::string>;
    const std::string glider = "at 0,2=1 1,0=1 1,2=1 2,1=1 2,2=1 rule " + std::string(kRule);
    const std::vector<Case> cases = {
        {"RLE", "#C a glider\nx = 3, y = 3, rule = B36/S23\nbo$2bo$\n3o!\n", Opened, glider},
        {"rule file",
         "File of rules for Zentorix\nName      - Моя\n#R0 " + std::string(kRule) +
             "\n#D about\n#D it\n",
         [](const TempFolder&, const std::string& bytes) {
             const auto world = std::make_unique<World>();
             ApplyRuleFileText(*world, bytes);
             return world->Editor.InfoMemo[0] + " " + RuleToString(*world, 0, 0) + "|" +
                    test::Joined(world->Editor.RulesDescription);
         },
         "Моя " + std::string(kRule) + "|about|it"},
    };
    for (const auto& [what, text, load, expected] : cases) {
        SCOPED_TRACE(what);
        TempFolder dir;
        const std::string withLf = load(dir, text);
        EXPECT_NE(withLf.find(expected), std::string::npos) << withLf;
        for (const char* end : {"\r\n", "\r", "\r\r\n"})
            EXPECT_EQ(load(dir, std::regex_replace(text, std::regex("\n"), end)), withLf)
                << testing::PrintToString(std::string(end));
        // A text editor's byte order mark changes nothing.
        EXPECT_EQ(load(dir, "\xEF\xBB\xBF" + text), withLf) << "with a byte order mark";
    }
}

// A text is read as UTF-8 only when it is UTF-8 (else as the older one-byte
// text): each bound of the encoding, one step inside and one outside.
TEST(TextFiles, Utf8IsJudgedAtItsBounds) {
    // U+007F, U+0080, U+07FF, U+0800, U+D7FF, U+E000, U+10000, U+10FFFF, a whole euro at the end.
    for (const char* utf8 :
         {"\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
          "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "a\xE2\x82\xAC"})
        EXPECT_TRUE(IsValidUtf8(utf8)) << testing::PrintToString(std::string(utf8));
    // A lone continuation byte, U+007F, U+07FF and U+FFFF overlong, the surrogates U+D800 and
    // U+DFFF, past U+10FFFF, five bytes, a euro cut short.
    for (const char* other :
         {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xED\xBF\xBF",
          "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "a\xE2\x82"})
        EXPECT_FALSE(IsValidUtf8(other)) << testing::PrintToString(std::string(other));
}

// A description of 3000 characters and more, each two bytes, starting at an odd
// byte: the readers cut at 3000 characters (a cut at 3000 bytes split a letter),
// and a native file saved afterwards, under a name that is not UTF-8 itself, is
// valid UTF-8 and gives the description back.
TEST(TextFiles, LongCyrillicDescriptionsAreCutAtCharactersAndSavedAsUtf8) {
    const auto letters = [](int n) {
        std::string text = "x";
        while (n--)
            text += "Ж";
        return text;
    };
    const std::string cyrillic = letters(3100), kept = letters(2999);
    const std::pair<const char*, std::string> files[] = {
        {"a.lif", "#Life 1.05\n#D " + cyrillic + "\n*\n"},
        {"a.mcl", "#MCell 4.20\n#D " + cyrillic + "\n#L A\n"},
        {"a.zlf", "#Zentorix\n#D " + cyrillic + "\n#L A\n"},
    };
    for (const auto& [name, text] : files) {
        SCOPED_TRACE(text.substr(0, 12));
        TempFolder dir;
        const auto world = std::make_unique<World>();
        Settings settings;
        OpenPatternFile(*world, settings, dir.Write(name, text));
        ASSERT_FALSE(world->Description.empty());
        EXPECT_EQ(world->Description.back(), kept);

        const fs::path saved =
            WriteNativeFile(*world, settings, dir / "bad\xFFname", NativeKind::Zlf);
        const std::string bytes = TempFolder::Read(saved);
        EXPECT_TRUE(IsValidUtf8(bytes));
        EXPECT_NE(bytes.find("#FileName bad\uFFFDname.zlf\r\n"), std::string::npos);
        const auto back = std::make_unique<World>();
        ReadNativeFile(*back, settings, saved);
        EXPECT_EQ(back->Description, world->Description);
    }
}

std::string SaveError(const fs::path& file, std::string_view content) {
    return test::ErrorOf([&] { WriteFileAtomic(file, content); });
}

// A save replaces the file whole or not at all, and only the file it names: a
// user's own "OUT.tmp" and "name.tmp" survive, a read-only file is refused and
// kept, a symbolic link stays one, the mode is kept, every failure gives the file
// and the reason, and no temporary is left behind (nor one of a killed save).
TEST(SavesThatHold, ReplaceOnlyTheNamedFileAndSayWhyNot) {
    TempFolder dir;
    dir.Write("OUT.tmp", "mine");
    // Temporaries of a killed save (no such process) go at the next save; those of
    // a save still running stay.
    dir.Write(".OUT.99999999-0-0badcafe.tmp", "killed");
    const std::string running = ".OUT." + std::to_string(::getpid()) + "-9-0badcafe.tmp";
    dir.Write(running, "running");
    dir.Write("out.zlf.tmp", "mine too");
    WriteFileAtomic(dir / "OUT", "new");
    WriteFileAtomic(dir / "out.zlf", "new too");
    EXPECT_EQ(TempFolder::Read(dir / "OUT.tmp"), "mine");
    EXPECT_EQ(TempFolder::Read(dir / "out.zlf.tmp"), "mine too");
    EXPECT_EQ(TempFolder::Read(dir / "out.zlf"), "new too");

    const fs::path shared = dir.Write("shared.txt", "old");
    fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteFileAtomic(shared, "new");
    EXPECT_EQ(fs::status(shared).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_directory(dir / "real");
    const fs::path target = dir.Write("real/target.rle", "old");
    fs::create_symlink("real/target.rle", dir / "link.rle");
    WriteFileAtomic(dir / "link.rle", "through the link");
    EXPECT_TRUE(fs::is_symlink(dir / "link.rle"));
    EXPECT_EQ(TempFolder::Read(target), "through the link");

    const fs::path readOnly = dir.Write("ro.lif", "keep me");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    const std::pair<fs::path, std::string> refused[] = {
        {readOnly, std::string("'").append(readOnly.string()).append("': Permission denied")},
        {dir / "none" / "x.zlf", "x.zlf': No such file or directory"},
        {dir / "real", "real': not a regular file"},
    };
    for (const auto& [file, reason] : refused)
        EXPECT_NE(SaveError(file, "new").find(reason), std::string::npos) << SaveError(file, "new");
    EXPECT_EQ(TempFolder::Read(readOnly), "keep me");

    EXPECT_EQ(test::Tree(dir.Path()),
              (std::set<std::string>{"OUT", "OUT.tmp", "out.zlf", "out.zlf.tmp", "shared.txt",
                                     "real", "real/target.rle", "link.rle", "ro.lif", running}));
}

// Two saves of one file at once each write a whole file and one wins; a reader at
// any moment sees one of the two whole contents, never a mix.
TEST(SavesThatHold, ConcurrentSavesGiveOneWholeFile) {
    TempFolder dir;
    const fs::path file = dir / "race.zlf";
    const std::string a(200000, 'a'), b(300000, 'b');
    WriteFileAtomic(file, a);
    std::atomic<bool> done{false};
    std::atomic<int> mixed{0};
    std::thread reader([&] {
        while (!done) {
            const std::string seen = TempFolder::Read(file);
            mixed += seen != a && seen != b;
        }
    });
    auto writer = [&](const std::string& content) {
        for (int i = 0; i < 30; ++i)
            WriteFileAtomic(file, content);
    };
    std::thread first(writer, std::cref(a)), second(writer, std::cref(b));
    first.join();
    second.join();
    done = true;
    reader.join();
    EXPECT_EQ(mixed, 0);
    const std::string last = TempFolder::Read(file);
    EXPECT_TRUE(last == a || last == b);
    EXPECT_EQ(test::Tree(dir.Path()), std::set<std::string>{"race.zlf"});
}

// A full disk: the old file stays whole, the message says so, nothing is left.
// Needs a small file system of its own, which only the administrator can mount.
TEST(SavesThatHold, AFullDiskKeepsTheOldFile) {
    TempFolder dir;
    const fs::path small = dir / "small";
    fs::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    struct Unmount {
        fs::path path;
        ~Unmount() { ::umount(path.c_str()); }
    } unmount{small};
    WriteFileAtomic(small / "field.zlf", "old field");
    const std::string error = SaveError(small / "field.zlf", std::string(100000, '.'));
    EXPECT_NE(error.find("field.zlf': No space left on device"), std::string::npos) << error;
    EXPECT_EQ(TempFolder::Read(small / "field.zlf"), "old field");
    EXPECT_EQ(test::Tree(small), std::set<std::string>{"field.zlf"});
}

}  // namespace
}  // namespace zentorix
