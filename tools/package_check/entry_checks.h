#pragma once

#include "tools/package_check/archive_contents.h"
#include "tools/package_check/package_problem.h"

#include <QString>

// What the archive's entries mean for the installation: no name or link may
// lead out of the install folder (setup's own install refuses such an entry
// only when the user meets it).
void checkEntryNames(const QString& key, const ArchiveContents& contents,
                     PackageProblems& problems);

// The program RunProgram starts must be a file of the archive that is
// installed with an execute bit.
void checkRunProgram(const QString& key, const QString& command, const ArchiveContents& contents,
                     PackageProblems& problems);

// SpaceRequired, in megabytes of 1,000,000 bytes, must hold what the archive
// unpacks to.
void checkSpaceRequired(const QString& key, const QString& megabytes,
                        const ArchiveContents& contents, PackageProblems& problems);
