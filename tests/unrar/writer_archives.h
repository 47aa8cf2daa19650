#pragma once

// Archives made by the test-archive writer, entry by entry.
#include "tests/unrar/rar_library.h"
#include "tools/rar_writer/rar_writer.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zk::unrar::testing {

inline rarwriter::Entry file(std::string name, std::string data,
                             std::optional<std::uint32_t> attr = {})
{
    rarwriter::Entry entry;
    entry.name = std::move(name);
    entry.data = std::move(data);
    entry.attr = attr;
    return entry;
}

inline rarwriter::Entry folder(std::string name)
{
    rarwriter::Entry entry;
    entry.name = std::move(name);
    entry.isFolder = true;
    return entry;
}

inline rarwriter::Entry link(std::string name, std::string target)
{
    rarwriter::Entry entry = file(std::move(name), std::move(target), rarwriter::kUnixSymlinkAttr);
    return entry;
}

inline std::filesystem::path writeArchive(const TempFolder& dir,
                                          const std::vector<rarwriter::Entry>& entries,
                                          const std::string& name = "made.rar")
{
    std::filesystem::path path = dir / name;
    rarwriter::writeArchive(path.string(), entries);
    return path;
}

} // namespace zk::unrar::testing
