// Any file content gets exactly one format judgement, without hanging.
#include "formats/pattern_load.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = zentorix::fuzz::WriteInput("input", data, size);
    // Only the extension makes a bitmap.
    zentorix::fuzz::Check(zentorix::ClassifyPatternFile(file) != zentorix::PatternFormat::Bitmap);
    return 0;
}
