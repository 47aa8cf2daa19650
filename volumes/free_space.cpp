#include "volumes/free_space.h"

#include <QFile>

#include <sys/statvfs.h>

namespace {

FreeSpaceSource& source()
{
    static FreeSpaceSource current = StatvfsSpace;
    return current;
}

} // namespace

std::optional<VolumeSpace> StatvfsSpace(const QString& folder)
{
    struct statvfs volume {};
    if (::statvfs(QFile::encodeName(folder).constData(), &volume) != 0)
        return std::nullopt;
    return VolumeSpace{static_cast<uint64_t>(volume.f_bavail) *
                           static_cast<uint64_t>(volume.f_frsize),
                       (volume.f_flag & ST_RDONLY) != 0};
}

void SetFreeSpaceSource(FreeSpaceSource replacement)
{
    source() = replacement ? std::move(replacement) : FreeSpaceSource(StatvfsSpace);
}

std::optional<VolumeSpace> SpaceOfVolume(const QString& folder)
{
    return source()(folder);
}

uint64_t FreeMegabytes(const std::optional<VolumeSpace>& space)
{
    if (!space || space->readOnly)
        return 0;
    return space->freeBytes / 1'000'000;
}
