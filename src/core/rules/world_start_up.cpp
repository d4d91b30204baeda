// A new experiment starts with the start-up rules read through the rule reader
// and shown in the editor, so its constructor lives with the rule logic.
#include "engine/rule_text.h"
#include "model/world.h"
#include "rules/rule_editor.h"

namespace zentorix {

World::World() {
    for (RuleSet& rules : Rules)
        rules.Weights.fill(1);
    Editor.ClearRuleInfoOnChange = true;
    ParseBirthList(*this);
    ParseSurvivalList(*this);
    ParseRuleString(*this, kStartUpRuleText0, "Zentorix", 0);
    ParseRuleString(*this, kStartUpRuleText1, "Zentorix", 1);
    ParseRuleString(*this, kStartUpRuleText0, "Zentorix", 2);
}

}  // namespace zentorix
