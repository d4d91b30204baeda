#include "formats/pattern_text.h"

#include <system_error>

#include "formats/text_file.h"

namespace zentorix {

std::optional<PatternText> PatternText::Read(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxPatternFileBytes)
        throw FileError(file.filename().string() + " is too large for a pattern file (" +
                        std::to_string(size >> 20) + " MiB; at most " +
                        std::to_string(kMaxPatternFileBytes >> 20) + " MiB)");
    auto bytes = ReadFileBytes(file);
    if (!bytes)
        return std::nullopt;
    return PatternText(DecodeText(*bytes));
}

}  // namespace zentorix
