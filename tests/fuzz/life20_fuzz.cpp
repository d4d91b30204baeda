// Any Life 2.0 file must be read and placed without crashing, hanging or
// allocating by the sizes it states; only a rule it cannot hold may raise the
// invalid-integer error.
#include "formats/life20_file.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zentorix;
    fuzz::ReadPattern("input.l", data, size, [](auto&&... a) { ReadLife20File(a...); });
    return 0;
}
