#include "widgets/executable_path.h"

#include <QCoreApplication>

namespace {
QString& overridePath()
{
    static QString path;
    return path;
}
} // namespace

QString executablePath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationFilePath();
}

void setExecutablePath(const QString& path)
{
    overridePath() = path;
}
