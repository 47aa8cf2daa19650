#include "archive/target_folder.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The destination's parts below the target folder, first to last.
fs::path partsBelow(const std::string& extractDir, const std::string& destination)
{
    return fs::path(destination)
        .lexically_normal()
        .lexically_relative(fs::path(extractDir).lexically_normal());
}

// The deepest folder of the destination that exists: where name limits and
// free space are asked.
fs::path existingFolderOf(const std::string& destination)
{
    fs::path folder = fs::path(destination).parent_path();
    std::error_code error;
    while (!folder.empty() && !fs::is_directory(folder, error) && folder != folder.root_path())
        folder = folder.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

} // namespace

bool ClearLinksOnTheWay(const std::string& extractDir, const std::string& destination)
{
    const fs::path below = partsBelow(extractDir, destination);
    fs::path current = fs::path(extractDir);
    for (auto part = below.begin(); part != below.end(); ++part) {
        if (part->empty() || *part == "." || *part == "..")
            return true; // not below the target: nothing of ours to clear
        current /= *part;
        struct stat status {};
        if (lstat(current.c_str(), &status) != 0)
            return true; // nothing there, nor below it
        const bool last = std::next(part) == below.end();
        const bool foreignName =
            S_ISLNK(status.st_mode) || (last && S_ISREG(status.st_mode) && status.st_nlink > 1);
        if (foreignName)
            return unlink(current.c_str()) == 0;
        if (!S_ISDIR(status.st_mode))
            return true; // the library reports what it cannot write
    }
    return true;
}

bool HasOverlongNamePart(const std::string& extractDir, const std::string& destination)
{
    const long limit = pathconf(existingFolderOf(destination).c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    for (const fs::path& part : partsBelow(extractDir, destination)) {
        if (part.native().size() > longest)
            return true;
    }
    return false;
}

bool EntryWritten(const std::string& destination, bool link, const uint64_t* size)
{
    struct stat status {};
    if (lstat(destination.c_str(), &status) != 0)
        return false;
    if (link)
        return S_ISLNK(status.st_mode);
    return S_ISREG(status.st_mode) &&
           (size == nullptr || static_cast<uint64_t>(status.st_size) == *size);
}

bool VolumeFull(const std::string& destination, uint64_t entrySize, int writeErrno)
{
    if (writeErrno == ENOSPC || writeErrno == EDQUOT)
        return true;
    struct statvfs volume {};
    if (statvfs(existingFolderOf(destination).c_str(), &volume) != 0)
        return false;
    const uint64_t available = static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
    const bool noFreeInodes = volume.f_files > 0 && volume.f_favail == 0;
    return available == 0 || available < entrySize || noFreeInodes;
}
