#include "archive/dos_date.h"

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Day number counted from 30 December 1899 (day 0).
int dayNumber(int year, int month, int day)
{
    int days = 0;
    for (int y = 1900; y < year; ++y)
        days += isLeapYear(y) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += daysInMonth(year, m);
    return days + day + 1;
}

} // namespace

TDateTime DosDateToDateTime(int32_t packed)
{
    const auto bits = static_cast<uint32_t>(packed);
    const int year = 1980 + static_cast<int>(bits >> 25);
    const int month = static_cast<int>((bits >> 21) & 0x0F);
    const int day = static_cast<int>((bits >> 16) & 0x1F);
    const int hour = static_cast<int>((bits >> 11) & 0x1F);
    const int minute = static_cast<int>((bits >> 5) & 0x3F);
    const int second = static_cast<int>(bits & 0x1F) * 2;

    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return kDosEpoch;
    const double time = ((hour * 60.0 + minute) * 60.0 + second) / 86400.0;
    return dayNumber(year, month, day) + time;
}
