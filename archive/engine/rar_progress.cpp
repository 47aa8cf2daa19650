#include "archive/engine/rar_progress.h"

bool PercentageTest(uint8_t step, uint8_t& last, uint64_t done, uint64_t total)
{
    if (done == 0 || total == 0)
        return false;
    if (done == total) {
        last = 100;
        return true;
    }
    const uint8_t previous = last;
    // 128-bit so every 64-bit size gives an exact percentage; more data than
    // the header announced stays at 100 instead of wrapping.
    const auto percent = static_cast<unsigned __int128>(done) * 100 / total;
    last = static_cast<uint8_t>(percent > 100 ? 100 : percent);
    return step != 0 && last % step == 0 && last != previous;
}
