#pragma once

#include "tools/package_check/package_problem.h"

#include <QString>

// The archive RARFile names, as setup will extract it: it must be there, type
// detection must find a RAR archive (or a self-extracting RAR program), and
// the bound RAR library must list every entry, with every volume it needs.
void checkArchive(const QString& key, const QString& archivePath, PackageProblems& problems);
