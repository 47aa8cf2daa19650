#pragma once

#include <string>

// The running executable's full path, as the platform reports it
// (/proc/self/exe), or empty when it cannot tell. Every room that looks for
// files beside the program asks here, so a test that moves the program into
// a folder of its choosing moves it for all of them at once.
std::string ExecutablePath();

// The folder that holds ExecutablePath(), without a trailing "/" ("/" itself
// for a program at the root); empty when the path is unknown.
std::string ExecutableFolder();

// Tests put the installer into a folder of their choosing; an empty path
// restores the platform's report.
void SetExecutablePathOverride(const std::string& path);
