#include "dialogs/volume_record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <nettle/sha2.h>

#include <optional>
#include <vector>

namespace {

constexpr qint64 kChunk = 1 << 20;

struct RecordedVolume {
    QString name;
    QByteArray digest; // raw bytes
};

// The record's lines, or nothing when one of them is not a digest and a
// plain name in the archive's folder.
std::optional<std::vector<RecordedVolume>> readRecord(QFile& record)
{
    static const QRegularExpression line(QStringLiteral("^([0-9a-fA-F]{64}) [ *](.+)$"));
    std::vector<RecordedVolume> volumes;
    while (!record.atEnd()) {
        const QString text = QString::fromUtf8(record.readLine()).remove(u'\n').remove(u'\r');
        if (text.isEmpty())
            continue;
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        const QString name = match.captured(2);
        if (name.contains(u'/') || name == u"." || name == u"..")
            return std::nullopt;
        volumes.push_back({name, QByteArray::fromHex(match.captured(1).toLatin1())});
    }
    if (volumes.empty())
        return std::nullopt;
    return volumes;
}

} // namespace

QString VolumeRecordPath(const QString& archivePath)
{
    return archivePath + QStringLiteral(".sha256");
}

VolumeCheck CheckRecordedVolumes(const QString& archivePath, const VolumeCheckProgress& progress)
{
    using Outcome = VolumeCheck::Outcome;
    QFile record(VolumeRecordPath(archivePath));
    const QString recordName = QFileInfo(record.fileName()).fileName();
    if (!record.exists())
        return {Outcome::NoRecord, {}};
    if (!record.open(QIODevice::ReadOnly))
        return {Outcome::BadRecord, recordName};
    const auto volumes = readRecord(record);
    if (!volumes)
        return {Outcome::BadRecord, recordName};

    // Every volume must be there before any is read.
    const QDir folder = QFileInfo(archivePath).absoluteDir();
    qint64 total = 0;
    for (const RecordedVolume& volume : *volumes) {
        const QFileInfo file(folder.filePath(volume.name));
        if (!file.isFile())
            return {Outcome::Missing, volume.name};
        total += file.size();
    }

    qint64 done = 0;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (const RecordedVolume& volume : *volumes) {
        QFile file(folder.filePath(volume.name));
        if (!file.open(QIODevice::ReadOnly))
            return {Outcome::Damaged, volume.name};
        // Nettle picks the processor's SHA instructions where it has them:
        // five times Qt's own digest, which cost as much as the extraction
        // on an archive of big stored files.
        sha256_ctx hash;
        sha256_init(&hash);
        for (;;) {
            const qint64 got = file.read(buffer.data(), buffer.size());
            if (got < 0)
                return {Outcome::Damaged, volume.name};
            if (got == 0)
                break;
            sha256_update(&hash, static_cast<size_t>(got),
                          reinterpret_cast<const uint8_t*>(buffer.constData()));
            done += got;
            if (!progress(volume.name, done, total))
                return {Outcome::Cancelled, volume.name};
        }
        QByteArray digest(SHA256_DIGEST_SIZE, Qt::Uninitialized);
        sha256_digest(&hash, SHA256_DIGEST_SIZE, reinterpret_cast<uint8_t*>(digest.data()));
        if (digest != volume.digest)
            return {Outcome::Damaged, volume.name};
    }
    return {Outcome::Intact, {}};
}
