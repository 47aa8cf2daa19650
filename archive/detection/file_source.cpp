#include "archive/detection/file_source.h"

#include "archive/e_raise.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

FileSource::FileSource(const std::string& path)
{
    // Only a regular file is opened: opening a FIFO waits for a writer, and
    // opening a device can act on the device. The check is repeated on the
    // open file in case the name was replaced in between; without O_NONBLOCK
    // that open could itself wait on a FIFO.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid())
        return;
    const int fd = file.get();
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return;
    file_ = std::move(file);
}

bool FileSource::Close()
{
    return file_.close();
}

std::optional<int64_t> FileSource::Size()
{
    struct stat info {};
    if (fstat(file_.get(), &info) != 0)
        return std::nullopt;
    return static_cast<int64_t>(info.st_size);
}

std::optional<size_t> FileSource::ReadAt(int64_t position, uint8_t* buffer, size_t count)
{
    if (position < 0)
        return std::nullopt;
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(file_.get(), buffer + done, count - done,
                                  static_cast<off_t>(position + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw EInOutError(errno);
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}
