#pragma once

#include "archive/arc_type.h"

#include <cstdint>

// The outcome of one detection. type and archiveOffset are updated as
// detection goes on, so a detection that ends in an exception leaves the
// value it had reached.
struct Detection {
    TArcType type = TArcType::atNA;
    int64_t archiveOffset = -1; // where the archive data starts; -1 when not known
    bool closeFailed = false;
};
