#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentorix {

struct JsonMember;

// A value of the small JSON subset a census file holds: objects, arrays,
// strings, numbers, true, false and null. Numbers are kept as written (a run's
// counts are integers that must not pass through a double) and read on demand.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a string's characters or a number as written
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;  // in the file's order

    // Declared here and defined where JsonMember is complete.
    JsonValue();
    JsonValue(const JsonValue&);
    JsonValue(JsonValue&&) noexcept;
    JsonValue& operator=(const JsonValue&);
    JsonValue& operator=(JsonValue&&) noexcept;
    ~JsonValue();

    bool IsNull() const { return kind == Kind::Null; }
    // The member of that name, or null when there is none.
    const JsonValue* Find(std::string_view name) const;
    // A number that is a whole number within 64 bits, else nothing.
    std::optional<std::int64_t> Integer() const;
    std::optional<double> Real() const;
    // A string member's text, else nothing.
    std::optional<std::string> StringOf(std::string_view name) const;
    std::optional<std::int64_t> IntegerOf(std::string_view name) const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

// Reads one JSON text (one line of a census file). Gives nothing for anything
// that is not exactly one value with optional blanks around it; nesting deeper
// than 32 levels is refused rather than followed.
std::optional<JsonValue> ParseJson(std::string_view text);

// The same value written back on one line, members in their order, numbers as
// they were written: two equal values give the same text.
std::string JsonText(const JsonValue& value);

// A string as a JSON literal, quotes included; control characters escaped and
// bytes that are not UTF-8 replaced by U+FFFD, so every line written stays
// valid JSON and reads back to the text it writes.
std::string JsonQuote(std::string_view text);

// Building values in code.
JsonValue JsonString(std::string text);
JsonValue JsonInteger(std::int64_t value);
JsonValue JsonNumberText(std::string text);  // a number already formatted
JsonValue JsonBool(bool value);
JsonValue JsonNull();
JsonValue JsonArray(std::vector<JsonValue> items);
JsonValue JsonObject(std::vector<JsonMember> members);

}  // namespace zentorix
