#pragma once

#include "tools/package_check/archive_contents.h"
#include "tools/package_check/package_problem.h"

#include <QString>

#include <optional>

// The archive RARFile names, as setup will extract it: it must be there (a
// name that differs in case or spelling from a file beside it is named),
// type detection must find a RAR archive (or a self-extracting RAR program),
// and the bound RAR library must decode every entry intact, with every
// volume it needs and no password. Says how long the test took. The
// contents, when the archive could be read at all.
std::optional<ArchiveContents> checkArchive(const QString& key, const QString& archivePath,
                                            PackageProblems& problems);
