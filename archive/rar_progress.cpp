#include "archive/rar_progress.h"

bool PercentageTest(uint8_t step, uint8_t& last, uint32_t done, uint32_t total)
{
    if (done == 0 || total == 0)
        return false;
    if (done == total) {
        last = 100;
        return true;
    }
    const uint8_t previous = last;
    // 64-bit so sizes up to the 32-bit limit give exact percentages; more data
    // than the header announced stays at 100 instead of wrapping.
    const uint64_t percent = static_cast<uint64_t>(done) * 100 / total;
    last = static_cast<uint8_t>(percent > 100 ? 100 : percent);
    return step != 0 && last % step == 0 && last != previous;
}
