#pragma once

#include "tools/package_check/package_problem.h"

#include "config/ini_file.h"

// The title and the three lines measured as the main window lays them out,
// in the window's own font: a title or line wider than its 520 pixels is
// cut; a window grown taller than 328 pixels shows the values setup keeps
// in hidden labels below that; one taller than a small screen does not fit
// on it. Where the title size is the cause, the largest size that fits is
// named.
void checkTitle(const IniFile& ini, PackageProblems& problems);
