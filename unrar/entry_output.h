#pragma once

#include "base/file_descriptor.h"

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <filesystem>

namespace zk::unrar {

// One file being written. Creates the file (replacing a link of that name
// rather than writing through it); unless finished, the destructor removes
// the partial file.
class EntryOutput {
public:
    EntryOutput() = default;
    EntryOutput(const EntryOutput&) = delete;
    EntryOutput& operator=(const EntryOutput&) = delete;
    ~EntryOutput();

    // False when the file cannot be created.
    bool create(const std::filesystem::path& path);
    // False on a write error (a full disk, a size limit).
    bool write(const void* data, std::size_t size, off_t offset);
    // Applies the mode (without setuid, setgid and sticky bits) and the
    // modification time and keeps the file; false when closing fails.
    bool finish(mode_t mode, std::time_t mtime, long mtimeNsec);

private:
    FileDescriptor fd_;
    std::filesystem::path path_;
};

// The permission bits an extracted entry gets from its stored mode.
mode_t permissionsOf(mode_t storedMode);

// Sets a path's modification time without following a link.
void setModificationTime(const std::filesystem::path& path, std::time_t mtime, long mtimeNsec);

} // namespace zk::unrar
