// Any rule file must be read without crashing or hanging, as text or (inputs of
// odd length) loaded from the rules folder; a bad number may only raise the
// invalid-integer error, and the editor must clear rule information on later
// rule changes again whatever the file held.
#include <cstddef>
#include <cstdint>
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
    zentorix::fuzz::Check(world.Editor.ClearRuleInfoOnChange);
    for (const zentorix::RuleSet& rules : world.Rules)
        zentorix::fuzz::Check(rules.BirthCount() <= zentorix::kMaxListEntries &&
                              rules.SurvivalCount() <= zentorix::kMaxListEntries);
    return 0;
}
