// Any file opened as the window and the batch program open files: the first
// byte picks the file's extension (which alone makes a bitmap), the rest is the
// file. Whatever its content, the file is found, judged and read by one reader,
// or refused with one of the errors the callers report.
#include "formats/bitmap_file.h"
#include "formats/pattern_load.h"
#include "formats/text_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    static zentorix::Settings settings;
    // Fresh settings are copied: building the start-up colours costs more than an input.
    static const zentorix::Settings fresh;
    if (size == 0)
        return 0;
    static const char* const names[] = {"input.rle", "input.lif", "input.mcl", "input.zlf",
                                        "input.l",   "input.bmp", "input.txt", "input"};
    settings = fresh;
    zentorix::fuzz::VaryOptions(world, settings, data, size);
    const auto file = zentorix::fuzz::WriteInput(names[data[0] % 8], data + 1, size - 1);
    try {
        // The file is there.
        zentorix::fuzz::Check(zentorix::OpenPatternFile(world, settings, file, {800, 600}).found);
    } catch (const zentorix::FormatError&) {
    } catch (const zentorix::BitmapError&) {
    }
    return 0;
}
