// Any census file (read by census-summary, by --resume and by the window's
// table) is read without crashing or hanging: the whole lines it keeps lie
// within the file, each line's JSON writes back to a text that reads as the
// same value, and a header's start is either refused or within the field limits.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "census/census_file.h"
#include "census/census_json.h"
#include "census/census_plan.h"
#include "census/census_summary.h"
#include "fuzz_pattern_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zentorix::CensusFileContent content = zentorix::ReadCensusText(bytes);
    using zentorix::fuzz::Check;
    Check(content.completeBytes <= size && (!content.error.empty() || content.completeBytes > 0));
    if (const auto value = zentorix::ParseJson(bytes)) {
        const std::string text = zentorix::JsonText(*value);
        const auto again = zentorix::ParseJson(text);
        Check(again && zentorix::JsonText(*again) == text);
    }
    if (const zentorix::JsonValue* parameters = content.header.Find("parameters")) {
        if (const auto start = zentorix::StartOfParameters(*parameters)) {
            Check(!start->field || (start->field->first >= 25 && start->field->first <= 999));
            Check(start->density >= 0 && start->density <= 100);
        }
    }
    const auto rows = zentorix::SummariseRuns(content.runs);
    (void)zentorix::SummaryTable(rows, zentorix::SummaryStyle::Markdown);
    return 0;
}
