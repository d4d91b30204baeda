#include "stats/statistics_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zentorix {

namespace {

constexpr const char* kLineEnd = "\r\n";

// The number right-aligned in `width` characters; a wider number is written whole.
std::string Right(std::int64_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), ' ');
    return digits;
}

const std::string kRule(55, '-');

}  // namespace

std::string StatisticsHeaderText(const StatTexts& t, const StatisticsHeaderFacts& f) {
    std::string text;
    auto line = [&text](std::string_view s) {
        text.append(s);
        text.append(kLineEnd);
    };
    line(t[1]);
    line(t[2] + f.timeAndDate);
    line(t[3] + f.fileName);
    // The description keeps its own line breaks.
    std::string description = t[4];
    for (std::size_t i = 0; i < f.description.size(); ++i) {
        if (i > 0)
            description += kLineEnd;
        description += f.description[i];
    }
    line(description);
    line(t[5] + f.rule);
    std::string layers = t[6];
    if (f.eternalLife)
        layers += "Eternal Life, ";
    if (f.eternalDead)
        layers += "Eternal Dead, ";
    if (f.otherRules)
        layers += "Other Rules, ";
    line(layers);
    line(t[7]);
    if (f.autoStart) {
        line(t[8] + Right(f.start, 6) + t[9]);
        line(t[10] + Right(f.end, 6) + t[9]);
    } else {
        line(t[8] + Right(f.generation, 6) + t[9]);
        line(t[11]);
    }
    line(t[12]);
    line(kRule);
    line(t[14]);
    line(kRule);
    return text;
}

std::string StatisticsDataLine(std::int64_t generation, std::int64_t live, std::int64_t first,
                               std::int64_t born, std::int64_t died) {
    std::string s;
    s.reserve(64);
    s.append("| ").append(Right(generation, 8));
    s.append("  |").append(Right(live, 6));
    s.append("   |  ").append(Right(first, 6));
    s.append("  |").append(Right(born, 6));
    s.append("    | ").append(Right(died, 6)).append("  |");
    s.append(kLineEnd);
    return s;
}

std::string StatisticsPercentage(std::int64_t numerator, std::int64_t divisor) {
    // Totals are never negative, and numerator x 100 fits easily in 64 bits for
    // any count a field of 999 x 999 cells can reach in 32000 generations.
    const std::int64_t scaled = numerator * 100;
    const std::int64_t by = divisor + 1;
    const std::int64_t whole = scaled / by;
    const std::int64_t hundredths = scaled % by * 100 / by;
    std::string text = std::to_string(whole) + ".";
    if (hundredths < 10)
        text += "0";
    return text + std::to_string(hundredths) + "%";
}

std::string StatisticsFooterText(const StatTexts& t, const StatisticsTotals& totals,
                                 std::int64_t lines, std::optional<std::int64_t> diedOutAt) {
    std::string text;
    auto line = [&text](std::string_view s) {
        text.append(s);
        text.append(kLineEnd);
    };
    line(kRule);
    if (diedOutAt)
        line(t[15] + std::to_string(*diedOutAt) + t[16]);
    line(t[17] + std::to_string(lines) + t[18]);
    line(t[19] + std::to_string(totals.born) + t[20]);
    line(t[21] + std::to_string(totals.died) + t[20]);
    line(t[22] + std::to_string(totals.live) + t[20]);
    line(t[23] + StatisticsPercentage(totals.died, totals.live));
    line(t[24] + StatisticsPercentage(totals.born, totals.live));
    line(t[25] + StatisticsPercentage(totals.born, totals.died));
    line(t[26]);
    return text;
}

std::optional<std::string> WriteStatisticsText(const std::filesystem::path& file,
                                               std::string_view text, bool replace) {
    // stdio rather than a stream: the reason of a failure (errno) is kept.
    errno = 0;
    FILE* out = std::fopen(file.c_str(), replace ? "wb" : "ab");
    if (!out)
        return std::string(std::strerror(errno ? errno : EIO));
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const int error = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed)
        return std::string(std::strerror(error ? error : errno ? errno : EIO));
    return std::nullopt;
}

}  // namespace zentorix
