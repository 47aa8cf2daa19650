#pragma once

#include <cstdint>
#include <ctime>

namespace zk::unrar {

// DOS packed local date and time (date in the high word, seconds halved).
// Times before 1980 give 1980-01-01 00:00, times after 2107 the last DOS day.
std::uint32_t dosTimeFromUnix(std::time_t t);

} // namespace zk::unrar
