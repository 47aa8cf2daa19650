#include "tools/package_check/file_checks.h"

#include "tools/package_check/text_encoding.h"

#include "presentation/nfo_file.h"
#include "presentation/sdl_media_backend.h"
#include "resources/artwork.h"
#include "widgets/message_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <exception>

namespace {

const QString kNfoName = QStringLiteral("zenkor.nfo");

const QLatin1StringView kArtwork[] = {
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

// A file named like one of the pictures but not exactly (header.jpg,
// Header.png) is not read: setup takes only the exact name, as PNG.
void checkPictureNames(const QString& folder, PackageProblems& problems)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QLatin1StringView resource : kArtwork) {
        const QFileInfo picture(resource);
        for (const QString& file : files) {
            if (file == picture.fileName() ||
                QFileInfo(file).completeBaseName().compare(picture.completeBaseName(),
                                                           Qt::CaseInsensitive) != 0)
                continue;
            const QByteArray format = QImageReader(QDir(folder).filePath(file)).format();
            if (format.isEmpty())
                continue; // not a picture: install.ini beside install.png
            const bool png = format == "png";
            const QString fix = png ? QStringLiteral("rename it %1").arg(picture.fileName())
                                    : QStringLiteral("convert it to PNG as %1 (convert %2 %1)")
                                          .arg(picture.fileName(), file);
            const QString text = QStringLiteral("setup reads only %1, a PNG picture, and shows "
                                                "its built-in one instead: %2")
                                     .arg(picture.fileName(), fix);
            if (files.contains(picture.fileName()))
                warn(problems, file, QStringLiteral("is not read; %1 is").arg(picture.fileName()));
            else
                refuse(problems, file, text);
        }
    }
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
        return;
    }
    QFile file(kNfoName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(kNfoCapacity);
    if (isUtf8BeyondAscii(bytes)) {
        const QString text = QString::fromUtf8(bytes);
        const auto beyondAscii =
            std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; });
        warn(problems, kNfoName,
             QStringLiteral("is saved as UTF-8, but the viewer shows each byte in code page 437, "
                            "so its %1 characters beyond ASCII come out as wrong signs: save it "
                            "in code page 437 (iconv -f UTF-8 -t CP437)")
                 .arg(beyondAscii));
    }
}

void checkPictures(const QString& folder, PackageProblems& problems)
{
    checkPictureNames(folder, problems);
    for (const QLatin1StringView resource : kArtwork) {
        const QString name = QFileInfo(resource).fileName();
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path))
            continue;
        const QImage picture(path, "PNG");
        if (picture.isNull()) {
            refuse(problems, name, QStringLiteral("is not a PNG picture"));
            continue;
        }
        const QSize expected = QImage(QString(resource)).size();
        if (picture.size() != expected)
            warn(problems, name,
                 QStringLiteral("is %1 pixels, not %2: it is drawn unscaled and clipped")
                     .arg(sizeText(picture.size()), sizeText(expected)));
    }
}
