#pragma once

#include <string>

// True when a directory search for the path finds at least one entry: the
// path itself (file or folder), or any entry matching wildcards in its name
// part.
bool FileFound(const std::string& path);
