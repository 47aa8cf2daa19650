#include "unrar/dos_time.h"

namespace zk::unrar {

std::uint32_t dosTimeFromUnix(std::time_t t)
{
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr || local.tm_year < 80)
        return (1u << 5 | 1u) << 16;
    if (local.tm_year > 207)
        return 0xFF9FBF7Du; // 2107-12-31 23:59:58
    const auto field = [](int v) { return static_cast<std::uint32_t>(v); };
    const std::uint32_t date =
        field(local.tm_year - 80) << 9 | field(local.tm_mon + 1) << 5 | field(local.tm_mday);
    const std::uint32_t time =
        field(local.tm_hour) << 11 | field(local.tm_min) << 5 | field(local.tm_sec / 2);
    return date << 16 | time;
}

} // namespace zk::unrar
