#pragma once

#include <string>

namespace zentorix {

// A local calendar date and clock time, as files and file names show them.
struct LocalDateTime {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

LocalDateTime CurrentLocalTime();

// "dd.MM.yyyy", always zero-padded and always with dots, whatever the locale.
std::string FormatDate(const LocalDateTime& t);
// "HH:mm:ss".
std::string FormatTime(const LocalDateTime& t);
// The "#DateTime " value: the date, one blank, the time.
std::string FormatDateTime(const LocalDateTime& t);

}  // namespace zentorix
