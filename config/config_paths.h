#pragma once

#include "base/path_style.h"

#include <QString>

// `name` inside the folder that holds the executable at `exePath`. A drive
// root (C:\) or the POSIX root keeps its single separator, so C:\install.exe
// gives C:\install.ini and /setup gives /install.ini. In the POSIX style a
// "\" in `name` is read as "/".
QString PathInExeFolder(const QString& name, const QString& exePath, PathStyle style);
// The same for the running executable, in the native style.
QString PathInExeFolder(const QString& name);

// `value` as a full path against `currentDir`: a relative path is put below
// it, "." and ".." segments are resolved by text, a trailing separator is
// kept and an empty value stays empty. Either separator is accepted. In the
// POSIX style "~" and a value starting with "~/" stand for `homeDir`.
QString ExpandPath(const QString& value, const QString& currentDir, PathStyle style,
                   const QString& homeDir);
