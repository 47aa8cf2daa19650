#pragma once

#include <QString>

// The running executable's full path (the platform's own report of it). Tests
// put the installer into a folder of their choosing through the setter.
QString executablePath();
// An empty path restores the platform's report.
void setExecutablePath(const QString& path);
