#pragma once

#include "tools/package_check/package_problem.h"

#include <QString>

// The music setup plays at start, opened the way setup opens it, from the
// current directory.
void checkMusic(const QString& key, const QString& fileName, PackageProblems& problems);

// zenkor.nfo in the current directory, read the way the NFO viewer reads it;
// text saved as UTF-8 shows as wrong signs there.
void checkNfo(PackageProblems& problems);

// Pictures in `folder` that replace the built-in artwork: each must read as
// PNG and should have the built-in picture's size, since it is drawn unscaled
// and clipped to its control; a picture under another name or in another
// format (header.jpg) is not read at all.
void checkPictures(const QString& folder, PackageProblems& problems);
