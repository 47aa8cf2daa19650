#include "archive/engine/file_found.h"

#include "base/path_rules.h"
#include "archive/engine/wildcard.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

bool FileFound(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string name = NamePart(path);
    if (!HasWildcards(name)) {
        struct stat info {};
        return lstat(path.c_str(), &info) == 0;
    }
    const std::string folder = FolderPart(path);
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir.get())) {
        if (WildcardMatch(entry->d_name, name, true))
            return true;
    }
    return false;
}
