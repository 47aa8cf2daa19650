#include "unrar/entry_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zk::unrar {

mode_t permissionsOf(mode_t storedMode) { return storedMode & 0777; }

void setModificationTime(const std::filesystem::path& path, std::time_t mtime, long mtimeNsec) {
    const struct timespec times[2] = {{0, UTIME_NOW}, {mtime, mtimeNsec}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

EntryOutput::~EntryOutput() {
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(path_.c_str());
}

bool EntryOutput::create(const std::filesystem::path& path) {
    constexpr int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0 && errno == ELOOP && ::unlink(path.c_str()) == 0)
        fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0)
        return false;
    fd_ = fd;
    path_ = path;
    return true;
}

bool EntryOutput::write(const void* data, std::size_t size, off_t offset) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::pwrite(fd_, bytes, size, offset);
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

bool EntryOutput::finish(mode_t mode, std::time_t mtime, long mtimeNsec) {
    fchmod(fd_, permissionsOf(mode));
    const struct timespec times[2] = {{0, UTIME_NOW}, {mtime, mtimeNsec}};
    futimens(fd_, times);
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!closed)
        ::unlink(path_.c_str());
    return closed;
}

}  // namespace zk::unrar
