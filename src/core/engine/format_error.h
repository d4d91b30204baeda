#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zentorix {

// A number in a file or a rule text that cannot be read. The message is the one
// users know from every file the program reads.
class FormatError : public std::runtime_error {
  public:
    explicit FormatError(std::string_view text);
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// Reads a signed 32-bit decimal integer: optional leading blanks, an optional
// sign, digits, nothing after them. Anything else, or a value outside 32 bits,
// gives nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// As ParseInteger, but raises FormatError naming the text.
std::int32_t ToInteger(std::string_view text);

}  // namespace zentorix
