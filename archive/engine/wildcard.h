#pragma once

#include "base/path_style.h"

#include <string>
#include <string_view>

// Matches an entry name against a FileSpec pattern; both sides may hold
// "*" and "?" and are treated alike. With nameOnly, only the name parts are
// compared. "*.*" matches every name that does not end in ".".
bool WildcardMatch(const std::string& name, const std::string& fileSpec, bool nameOnly,
                   PathStyle style = kNativePathStyle);

// True when the pattern contains "*" or "?".
bool HasWildcards(std::string_view fileSpec);
