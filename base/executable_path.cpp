#include "base/executable_path.h"

#include <unistd.h>

#include <array>
#include <climits>

namespace {
std::string& overridePath()
{
    static std::string path;
    return path;
}
} // namespace

std::string ExecutablePath()
{
    if (!overridePath().empty())
        return overridePath();
    std::array<char, PATH_MAX> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return {};
    return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string ExecutableFolder()
{
    const std::string path = ExecutablePath();
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

void SetExecutablePathOverride(const std::string& path)
{
    overridePath() = path;
}
