#include "formats/pattern_text.h"

#include <system_error>

#include "formats/text_file.h"

namespace zentorix {

void CheckPatternFileSize(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxPatternFileBytes)
        throw FileError(file.filename().string() + " is too large for a pattern file (" +
                        std::to_string(size >> 20) + " MiB; at most " +
                        std::to_string(kMaxPatternFileBytes >> 20) + " MiB)");
}

std::optional<PatternText> PatternText::Read(const std::filesystem::path& file) {
    CheckPatternFileSize(file);
    auto text = ReadTextFile(file);
    if (!text)
        return std::nullopt;
    return PatternText(std::move(*text));
}

}  // namespace zentorix
