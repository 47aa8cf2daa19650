#pragma once

#include "base/path_style.h"

#include <string>

// The style's folder separator ("\" or "/").
char PathSeparator(PathStyle style = kNativePathStyle);

// Every foreign separator becomes the style's own: natively (the POSIX style)
// each "\" turns into "/"; in the Windows style, where the name comes from,
// each "/" turns into "\".
std::string SlashToBackslash(const std::string& text, PathStyle style = kNativePathStyle);

// Empty stays empty; otherwise the style's separator is appended unless the
// text already ends with one: natively (the POSIX style) a "/", in the Windows
// style, where the name comes from, a "\".
std::string AppendBackslash(const std::string& path, PathStyle style = kNativePathStyle);

// Everything after the last separator (or, in the Windows style, ":").
std::string NamePart(const std::string& path, PathStyle style = kNativePathStyle);

// Everything before the name part, with a trailing separator removed unless
// it follows ":" or another separator; the POSIX root "/" is kept.
// E:\a\b.rar gives E:\a, E:\b.rar gives E:\, b.rar gives "".
std::string FolderPart(const std::string& path, PathStyle style = kNativePathStyle);

// The name part's extension with its "." ("" when the name has no ".").
std::string ExtensionPart(const std::string& path, PathStyle style = kNativePathStyle);

// ExtractDir for a requested folder: a non-empty folder with a separator at
// the end (in the Windows style with "/" read as "\"; natively a "\" is part
// of a name and stays); an empty one falls back to the archive's folder.
std::string ExtractDirFor(const std::string& dir, const std::string& archiveFile,
                          PathStyle style = kNativePathStyle);

// The destination of a stored entry name below a non-empty extractDir (the
// name with the style's separators; natively a "\" is part of a name):
// with useStoredDirs the stored folders follow extractDir as they stand (a
// leading drive or one leading separator dropped), without them only the name
// part is used. A path that is not rooted gets a leading separator; an empty
// name gives "". Defined for every input. This only builds text: refusing
// names with ".." folders is the RAR engine's task.
std::string DestinationPath(const std::string& storedName, const std::string& extractDir,
                            bool useStoredDirs, PathStyle style = kNativePathStyle);
// DestinationPath into `path`, built in its buffer where it can be: asked of
// every entry, so the buffer is kept from entry to entry.
void AssignDestinationPath(std::string& path, const std::string& storedName,
                           const std::string& extractDir, bool useStoredDirs,
                           PathStyle style = kNativePathStyle);
