#include "census/census_json.h"

#include <charconv>
#include <cstdlib>

namespace zentorix {

namespace {

constexpr int kMaxDepth = 32;

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        JsonValue value;
        if (!Value(value, 0))
            return std::nullopt;
        Blanks();
        if (at_ != text_.size())
            return std::nullopt;
        return value;
    }

  private:
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    bool Value(JsonValue& out, int depth) {
        if (depth > kMaxDepth)
            return false;
        Blanks();
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        if (c == '{')
            return Object(out, depth);
        if (c == '[')
            return Array(out, depth);
        if (c == '"') {
            out.kind = JsonValue::Kind::String;
            return String(out.text);
        }
        if (c == 't' || c == 'f') {
            out.kind = JsonValue::Kind::Boolean;
            out.boolean = c == 't';
            return Word(c == 't' ? "true" : "false");
        }
        if (c == 'n') {
            out.kind = JsonValue::Kind::Null;
            return Word("null");
        }
        return Number(out);
    }

    bool Object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        ++at_;
        if (Take('}'))
            return true;
        do {
            Blanks();
            std::string name;
            if (at_ >= text_.size() || text_[at_] != '"' || !String(name) || !Take(':'))
                return false;
            JsonValue member;
            if (!Value(member, depth + 1))
                return false;
            out.members.push_back({std::move(name), std::move(member)});
        } while (Take(','));
        return Take('}');
    }

    bool Array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++at_;
        if (Take(']'))
            return true;
        do {
            JsonValue item;
            if (!Value(item, depth + 1))
                return false;
            out.items.push_back(std::move(item));
        } while (Take(','));
        return Take(']');
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    bool Number(JsonValue& out) {
        const std::size_t start = at_;
        auto digits = [&] {
            const std::size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9')
                ++at_;
            return at_ > from;
        };
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        const std::size_t first = at_;
        if (!digits() || (text_[first] == '0' && at_ - first > 1))
            return false;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (!digits())
                return false;
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-'))
                ++at_;
            if (!digits())
                return false;
        }
        out.kind = JsonValue::Kind::Number;
        out.text = std::string(text_.substr(start, at_ - start));
        return true;
    }

    static void PutUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }

    bool Hex4(std::uint32_t& code) {
        if (text_.size() - at_ < 4)
            return false;
        unsigned value = 0;
        const auto [end, ec] =
            std::from_chars(text_.data() + at_, text_.data() + at_ + 4, value, 16);
        if (ec != std::errc() || end != text_.data() + at_ + 4)
            return false;
        at_ += 4;
        code = value;
        return true;
    }

    bool String(std::string& out) {
        ++at_;  // the opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at_ >= text_.size())
                return false;
            const char e = text_[at_++];
            switch (e) {
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                case '/':
                    out.push_back('/');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u': {
                    std::uint32_t code = 0;
                    if (!Hex4(code))
                        return false;
                    if (code >= 0xD800 && code < 0xDC00) {
                        std::uint32_t low = 0;
                        if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low >= 0xE000)
                            return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xDC00 && code < 0xE000) {
                        return false;
                    }
                    PutUtf8(out, code);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Length of the valid UTF-8 sequence at the start of `s`, 0 if none.
std::size_t Utf8Length(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    std::size_t n = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 0;
    if (n == 0 || n > s.size() || (n == 2 && c < 0xC2))
        return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((b(i) & 0xC0) != 0x80)
            return 0;
    if (n == 3) {
        const unsigned code = ((c & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6);
        if (code < 0x800 || (code >= 0xD800 && code < 0xE000))
            return 0;
    }
    if (n == 4) {
        const unsigned code = ((c & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12);
        if (code < 0x10000 || code > 0x10FFFF)
            return 0;
    }
    return n;
}

void Write(const JsonValue& v, std::string& out) {
    switch (v.kind) {
        case JsonValue::Kind::Null:
            out += "null";
            break;
        case JsonValue::Kind::Boolean:
            out += v.boolean ? "true" : "false";
            break;
        case JsonValue::Kind::Number:
            out += v.text;
            break;
        case JsonValue::Kind::String:
            out += JsonQuote(v.text);
            break;
        case JsonValue::Kind::Array:
            out.push_back('[');
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (i)
                    out.push_back(',');
                Write(v.items[i], out);
            }
            out.push_back(']');
            break;
        case JsonValue::Kind::Object:
            out.push_back('{');
            for (std::size_t i = 0; i < v.members.size(); ++i) {
                if (i)
                    out.push_back(',');
                out += JsonQuote(v.members[i].name);
                out.push_back(':');
                Write(v.members[i].value, out);
            }
            out.push_back('}');
            break;
    }
}

}  // namespace

JsonValue::JsonValue() = default;
JsonValue::JsonValue(const JsonValue&) = default;
JsonValue::JsonValue(JsonValue&&) noexcept = default;
JsonValue& JsonValue::operator=(const JsonValue&) = default;
JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;
JsonValue::~JsonValue() = default;

const JsonValue* JsonValue::Find(std::string_view name) const {
    for (const JsonMember& member : members)
        if (member.name == name)
            return &member.value;
    return nullptr;
}

std::optional<std::int64_t> JsonValue::Integer() const {
    if (kind != Kind::Number)
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> JsonValue::Real() const {
    if (kind != Kind::Number)
        return std::nullopt;
    return std::strtod(text.c_str(), nullptr);
}

std::optional<std::string> JsonValue::StringOf(std::string_view name) const {
    const JsonValue* v = Find(name);
    if (!v || v->kind != Kind::String)
        return std::nullopt;
    return v->text;
}

std::optional<std::int64_t> JsonValue::IntegerOf(std::string_view name) const {
    const JsonValue* v = Find(name);
    return v ? v->Integer() : std::nullopt;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

std::string JsonText(const JsonValue& value) {
    std::string out;
    Write(value, out);
    return out;
}

std::string JsonQuote(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text[0]);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            out += "\\u00";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        } else if (const std::size_t n = Utf8Length(text); n > 0) {
            out.append(text.substr(0, n));
            text.remove_prefix(n - 1);
        } else {
            out += "\xEF\xBF\xBD";  // U+FFFD, the replacement character
        }
        text.remove_prefix(1);
    }
    out.push_back('"');
    return out;
}

JsonValue JsonString(std::string text) {
    JsonValue v;
    v.kind = JsonValue::Kind::String;
    v.text = std::move(text);
    return v;
}
JsonValue JsonInteger(std::int64_t value) {
    return JsonNumberText(std::to_string(value));
}
JsonValue JsonNumberText(std::string text) {
    JsonValue v;
    v.kind = JsonValue::Kind::Number;
    v.text = std::move(text);
    return v;
}
JsonValue JsonBool(bool value) {
    JsonValue v;
    v.kind = JsonValue::Kind::Boolean;
    v.boolean = value;
    return v;
}
JsonValue JsonNull() {
    return {};
}
JsonValue JsonArray(std::vector<JsonValue> items) {
    JsonValue v;
    v.kind = JsonValue::Kind::Array;
    v.items = std::move(items);
    return v;
}
JsonValue JsonObject(std::vector<JsonMember> members) {
    JsonValue v;
    v.kind = JsonValue::Kind::Object;
    v.members = std::move(members);
    return v;
}

}  // namespace zentorix
