#pragma once

#include <cstdint>

// Days since 30 December 1899, the time of day as the fraction.
using TDateTime = double;

// 1 January 1980, 00:00: what an empty or invalid packed value stands for.
inline constexpr TDateTime kDosEpoch = 29221.0;

// The file system's packed date-time (bits 25-31 years since 1980, 21-24
// month, 16-20 day, 11-15 hours, 5-10 minutes, 0-4 seconds / 2).
TDateTime DosDateToDateTime(int32_t packed);
