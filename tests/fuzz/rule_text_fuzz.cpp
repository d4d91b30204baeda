// Rule text of every family must be read without crashing or hanging; a bad
// number may only raise the invalid-integer error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/format_error.h"
#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/rule_editor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    if (size == 0)
        return 0;
    static const char* families[] = {"Zentorix", "WLife", "Life", "Generations",
                                     "OldLife",  "Vote",  "LLife"};
    const std::string family = families[data[0] % 7];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        zentorix::ParseRuleString(world, text, family, data[0] % 3);
    } catch (const zentorix::FormatError&) {
    }
    // Whatever was read must write back as text that reads again.
    const std::string written = zentorix::RuleToString(world, 0, data[0] % 3);
    zentorix::ParseRuleString(world, written, "Zentorix", data[0] % 3);
    return 0;
}
