#pragma once

#include "tools/package_check/package_problem.h"

#include "config/ini_file.h"

// The keys of install.ini as setup's main window converts them: colours and
// the required space that setup would refuse, a title size that is not a
// number.
void checkSettings(const IniFile& ini, PackageProblems& problems);

// The section every key is read from.
QString installerSection();
