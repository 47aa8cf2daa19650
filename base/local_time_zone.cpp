#include "base/local_time_zone.h"

#include <cstdlib>

namespace {
bool pinned = false;
}

void PinLocalTimeZone()
{
    if (std::getenv("TZ") == nullptr)
        pinned = setenv("TZ", ":/etc/localtime", 0) == 0;
}

bool LocalTimeZonePinned()
{
    return pinned;
}
