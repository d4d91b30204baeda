#include "formats/local_time.h"

#include <cstdio>
#include <ctime>

namespace zentorix {

LocalDateTime CurrentLocalTime() {
    const std::time_t now = std::time(nullptr);
    LocalDateTime t;
    // The program has one thread, so the shared buffer of localtime is safe here.
    if (const std::tm* local = std::localtime(&now)) {
        t.Year = local->tm_year + 1900;
        t.Month = local->tm_mon + 1;
        t.Day = local->tm_mday;
        t.Hour = local->tm_hour;
        t.Minute = local->tm_min;
        t.Second = local->tm_sec;
    }
    return t;
}

std::string FormatDate(const LocalDateTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.Day, t.Month, t.Year);
    return text;
}

std::string FormatTime(const LocalDateTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return text;
}

std::string FormatDateTime(const LocalDateTime& t) {
    return FormatDate(t) + " " + FormatTime(t);
}

}  // namespace zentorix
