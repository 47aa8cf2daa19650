#include "unrar/dest_paths.h"

namespace zk::unrar {

namespace fs = std::filesystem;

fs::path storedNameBelow(const std::string& storedName)
{
    fs::path result;
    for (const fs::path& part : fs::path(storedName).relative_path()) {
        if (part.empty() || part == "." || part == "..")
            continue;
        result /= part;
    }
    return result;
}

bool isWithin(const fs::path& path, const fs::path& folder)
{
    const fs::path relative = fs::absolute(path).lexically_normal().lexically_relative(
        fs::absolute(folder).lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

std::optional<fs::path> resolveLinkTarget(const fs::path& linkFolder, const std::string& target)
{
    const fs::path targetPath(target);
    if (target.empty() || targetPath.is_absolute())
        return std::nullopt;
    bool plainPartSeen = false;
    for (const fs::path& part : targetPath) {
        if (part == "..") {
            if (plainPartSeen)
                return std::nullopt;
        } else if (!part.empty() && part != ".") {
            plainPartSeen = true;
        }
    }
    return (linkFolder / targetPath).lexically_normal();
}

} // namespace zk::unrar
