// Any rule file must be read without crashing or hanging, as text or (inputs of
// odd length) loaded from the rules folder; a bad number may only raise the
// invalid-integer error, and the editor must clear rule information on later
// rule changes again whatever the file held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include "engine/format_error.h"
#include "formats/rule_file.h"
#include "fuzz_pattern_file.h"
#include "model/world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zentorix::World world;
    // Description lines are appended by the reader; start each input afresh.
    world.Editor.RulesDescription.clear();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        if (size % 2 == 0) {
            zentorix::ApplyRuleFileText(world, bytes);
        } else {
            zentorix::fuzz::WriteFile(zentorix::fuzz::WorkFolder() / "input.rul", bytes);
            zentorix::LoadRuleFile(world, zentorix::fuzz::WorkFolder(), "input");
        }
    } catch (const zentorix::FormatError&) {
    }
    if (!world.Editor.ClearRuleInfoOnChange)
        std::abort();
    for (const zentorix::RuleSet& rules : world.Rules)
        if (rules.BirthCount() > zentorix::kMaxListEntries ||
            rules.SurvivalCount() > zentorix::kMaxListEntries)
            std::abort();
    return 0;
}
