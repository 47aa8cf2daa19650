#include "tools/package_check/file_checks.h"

#include "presentation/nfo_file.h"
#include "presentation/sdl_media_backend.h"
#include "resources/artwork.h"
#include "widgets/message_box.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <exception>

namespace {

const QString kNfoName = QStringLiteral("zenkor.nfo");

const char* const kArtwork[] = {
    artwork::kHeader,     artwork::kInstall, artwork::kInstallLit, artwork::kNfo,
    artwork::kNfoLit,     artwork::kExit,    artwork::kExitLit,    artwork::kCancel,
    artwork::kCancelLit,  artwork::kExtract, artwork::kExtractLit, artwork::kMakeDir,
    artwork::kMakeDirLit, artwork::kOk,      artwork::kOkLit,
};

QString boxText(const std::exception& error)
{
    return standardErrorText(QString::fromUtf8(error.what()));
}

QString sizeText(const QSize& size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

} // namespace

void checkMusic(const QString& key, const QString& fileName, PackageProblems& problems)
{
    try {
        createSdlMediaBackend()->open(fileName.toStdString());
    } catch (const std::exception& error) {
        warn(problems, key,
             QStringLiteral("setup shows \"%1\" at start and plays no music").arg(boxText(error)));
    }
}

void checkNfo(PackageProblems& problems)
{
    try {
        readNfoFile(kNfoName);
    } catch (const std::exception& error) {
        warn(problems, kNfoName, QStringLiteral("the NFO button shows \"%1\"").arg(boxText(error)));
    }
}

void checkPictures(const QString& folder, PackageProblems& problems)
{
    for (const char* resource : kArtwork) {
        const QString name = QFileInfo(QString::fromLatin1(resource)).fileName();
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path))
            continue;
        const QImage picture(path, "PNG");
        if (picture.isNull()) {
            refuse(problems, name, QStringLiteral("is not a PNG picture"));
            continue;
        }
        const QSize expected = QImage(QString::fromLatin1(resource)).size();
        if (picture.size() != expected)
            warn(problems, name,
                 QStringLiteral("is %1 pixels, not %2: it is drawn unscaled and clipped")
                     .arg(sizeText(picture.size()), sizeText(expected)));
    }
}
