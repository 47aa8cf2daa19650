#pragma once

#include <cstdint>

// Whether a data block of an entry deserves an OnProgress report, and with
// which percentage. `last` is the percentage of the previous report test; the
// engine shares one for the whole process and never resets it, so the first
// block of an entry is compared with what the previous entry left behind.
// Reports come at multiples of `step` (0 included) when the percentage moved,
// and always at completion.
bool PercentageTest(uint8_t step, uint8_t& last, uint64_t done, uint64_t total);
