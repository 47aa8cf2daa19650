#include "unrar/entry_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace zk::unrar {

mode_t permissionsOf(mode_t storedMode)
{
    return storedMode & 0777;
}

void setModificationTime(const std::filesystem::path& path, std::time_t mtime, long mtimeNsec)
{
    const struct timespec times[2] = {{0, UTIME_NOW}, {mtime, mtimeNsec}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

EntryOutput::~EntryOutput()
{
    if (!fd_.valid())
        return;
    fd_.close();
    ::unlink(path_.c_str());
}

bool EntryOutput::create(const std::filesystem::path& path)
{
    constexpr int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC;
    FileDescriptor fd(::open(path.c_str(), flags, 0600));
    if (!fd.valid() && errno == ELOOP && ::unlink(path.c_str()) == 0)
        fd = FileDescriptor(::open(path.c_str(), flags, 0600));
    if (!fd.valid())
        return false;
    fd_ = std::move(fd);
    path_ = path;
    return true;
}

bool EntryOutput::write(const void* data, std::size_t size, off_t offset)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::pwrite(fd_.get(), bytes, size, offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        bytes += done;
        size -= static_cast<std::size_t>(done);
        offset += done;
    }
    return true;
}

bool EntryOutput::finish(mode_t mode, std::time_t mtime, long mtimeNsec)
{
    fchmod(fd_.get(), permissionsOf(mode));
    const struct timespec times[2] = {{0, UTIME_NOW}, {mtime, mtimeNsec}};
    futimens(fd_.get(), times);
    const bool closed = fd_.close();
    if (!closed)
        ::unlink(path_.c_str());
    return closed;
}

} // namespace zk::unrar
