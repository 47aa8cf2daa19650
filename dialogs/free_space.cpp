#include "dialogs/free_space.h"

#include <sys/statvfs.h>

namespace {

FreeSpaceSource& source()
{
    static FreeSpaceSource current = StatvfsFreeBytes;
    return current;
}

} // namespace

std::optional<uint64_t> StatvfsFreeBytes()
{
    struct statvfs volume {};
    if (::statvfs(".", &volume) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(volume.f_bavail) * static_cast<uint64_t>(volume.f_frsize);
}

void SetFreeSpaceSource(FreeSpaceSource replacement)
{
    source() = replacement ? std::move(replacement) : FreeSpaceSource(StatvfsFreeBytes);
}

std::optional<uint64_t> FreeBytesOfCurrentVolume()
{
    return source()();
}

uint64_t FreeMegabytes(std::optional<uint64_t> bytes)
{
    return bytes.value_or(0) / 1'000'000;
}
