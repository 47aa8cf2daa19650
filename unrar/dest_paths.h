#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zk::unrar {

// A stored name as a relative path below the destination folder: "..", "."
// and empty parts and any leading "/" dropped. Empty when nothing is left.
std::filesystem::path storedNameBelow(const std::string& storedName);

// Whether `path` (made absolute and normalised) lies in or below `folder`.
bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder);

// Where a symbolic link's target resolves, given the real folder the link is
// written in, or nothing when the target is absolute, empty, or has ".."
// after a plain part (which could climb through another link).
std::optional<std::filesystem::path> resolveLinkTarget(const std::filesystem::path& linkFolder,
                                                       const std::string& target);

} // namespace zk::unrar
