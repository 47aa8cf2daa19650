#include "widgets/folder_assets.h"

#include "base/executable_path.h"

#include <QDir>
#include <QFontDatabase>

namespace {
const QString kArtworkPrefix = QStringLiteral(":/artwork/");
} // namespace

void registerBundledFonts(const QString& executableFolder)
{
    const QDir fonts(QDir(executableFolder).filePath(QStringLiteral("fonts")));
    for (const QString& name : fonts.entryList(QDir::Files, QDir::Name))
        QFontDatabase::addApplicationFont(fonts.filePath(name));
}

QImage artworkImage(const QString& path)
{
    if (path.startsWith(kArtworkPrefix)) {
        const QDir folder(QString::fromStdString(ExecutableFolder()));
        const QString beside = folder.filePath(path.mid(kArtworkPrefix.size()));
        QImage replacement;
        // Read as PNG whatever the content claims, so a broken file falls back.
        if (replacement.load(beside, "PNG"))
            return replacement;
    }
    return QImage(path);
}
