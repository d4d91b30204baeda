// Rule-name look-up in the shipped 147-entry files: the last preset costs the
// most, since the file is read up to its entry.
#include <benchmark/benchmark.h>

#include "engine/rule_text.h"
#include "formats/rules_list.h"
#include "i18n/rule_names.h"
#include "model/world.h"
#include "rules/preset_catalogue.h"

namespace {

void RuleNameLookUp(benchmark::State& state) {
    zentorix::World world;
    zentorix::ApplyBuiltInPreset(world, zentorix::PresetName(zentorix::BuiltInPresetCount - 1));
    const std::string rule = zentorix::RuleToString(world, 0, 0);
    const std::filesystem::path folder = ZENTORIX_SHIPPED_DATA "/Language";
    for (auto _ : state) {
        world.Editor.RulesDescription.clear();
        zentorix::LookUpRuleName(world, folder, "english.lng", rule);
        benchmark::DoNotOptimize(world.Editor.RulesComboBoxText);
    }
}
BENCHMARK(RuleNameLookUp)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
