#include "widgets/bundled_fonts.h"

#include <QDir>
#include <QFontDatabase>

void registerBundledFonts(const QString& executableFolder)
{
    const QDir fonts(QDir(executableFolder).filePath(QStringLiteral("fonts")));
    for (const QString& name : fonts.entryList(QDir::Files, QDir::Name))
        QFontDatabase::addApplicationFont(fonts.filePath(name));
}
