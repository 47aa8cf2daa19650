#pragma once

#include <string>

// The process's current directory, "" when it cannot be read.
std::string CurrentDirectory();

// Enters folder. A folder that cannot be entered, or "", leaves the current
// directory where it was; false then.
bool ChangeDirectory(const std::string& folder);
