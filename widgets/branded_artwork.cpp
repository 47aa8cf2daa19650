#include "widgets/branded_artwork.h"

#include "base/executable_path.h"

#include <QDir>

namespace {
const QString kArtworkPrefix = QStringLiteral(":/artwork/");
} // namespace

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
