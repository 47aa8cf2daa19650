#include "base/current_directory.h"

#include <filesystem>
#include <system_error>

std::string CurrentDirectory()
{
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

bool ChangeDirectory(const std::string& folder)
{
    std::error_code error;
    if (folder.empty())
        return false;
    std::filesystem::current_path(folder, error);
    return !error;
}
