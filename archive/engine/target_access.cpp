#include "archive/engine/target_access.h"

#include "archive/engine/rar_messages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The path itself when something stands there, else its deepest existing
// folder; empty when nothing of it exists.
fs::path existingPart(fs::path path)
{
    struct stat status {};
    while (!path.empty() && stat(path.c_str(), &status) != 0) {
        if (path == path.root_path() || !path.has_relative_path())
            return {};
        path = path.parent_path();
    }
    return path;
}

bool mountedReadOnly(const fs::path& path)
{
    struct statvfs volume {};
    return statvfs(path.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY) != 0;
}

} // namespace

int32_t TargetRefusal(const std::string& extractDir)
{
    if (extractDir.empty())
        return 0;
    const fs::path existing = existingPart(fs::path(extractDir).lexically_normal());
    if (existing.empty())
        return 0; // nothing to ask: the library reports what it cannot make
    if (mountedReadOnly(existing))
        return kMsgFileIsReadOnly;
    std::error_code error;
    if (!fs::is_directory(existing, error))
        return kMsgErrorCreatingDir;
    if (faccessat(AT_FDCWD, existing.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return errno == EROFS ? kMsgFileIsReadOnly : kMsgErrorCreatingDir;
    return 0;
}

bool OnReadOnlyVolume(const std::string& destination, int writeErrno)
{
    if (writeErrno == EROFS)
        return true;
    const fs::path existing = existingPart(fs::path(destination).parent_path());
    return !existing.empty() && mountedReadOnly(existing);
}
