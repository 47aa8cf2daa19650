#include "tools/package_check/archive_check.h"

#include "tools/package_check/nearest_name.h"

#include "archive/arc_type.h"
#include "archive/detection/detect_arc_type.h"
#include "archive/message_table.h"
#include "archive/engine/rar_entry.h"
#include "archive/engine/rar_library.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <exception>

namespace {

// A damaged archive usually fails in many entries; the first ones say enough.
constexpr int kDamagedEntriesNamed = 5;

QString libraryText(int code)
{
    const int32_t message = MessageForRarCode(code);
    if (code == ERAR_MISSING_PASSWORD || code == ERAR_BAD_PASSWORD)
        return QStringLiteral("its entries are encrypted and setup asks for no password");
    if (message != 0)
        return QString::fromStdString(MessageText(message));
    return QStringLiteral("the RAR library answers code %1").arg(code);
}

void reportMissingFile(const QString& key, const QString& archivePath, PackageProblems& problems)
{
    const QFileInfo wanted(archivePath);
    const QStringList beside = wanted.dir().entryList(QDir::Files);
    const QString nearest = nearestName(wanted.fileName(), beside);
    if (nearest.isEmpty())
        refuse(problems, key,
               QStringLiteral("the archive %1 is not in the package").arg(archivePath));
    else
        refuse(problems, key,
               QStringLiteral("the archive %1 is not in the package, but %2 is: names are "
                              "matched in their exact letter case; write %3=%2 or rename the file")
                   .arg(wanted.fileName(), nearest, key));
}

bool isRarArchive(const QString& key, const QString& archivePath, PackageProblems& problems)
{
    const QString name = QFileInfo(archivePath).fileName();
    Detection detection;
    try {
        DetectArchive(archivePath.toStdString(), 0, detection);
    } catch (const std::exception& error) {
        refuse(problems, key,
               QStringLiteral("%1 cannot be read: %2").arg(name, QString::fromUtf8(error.what())));
        return false;
    }
    if (detection.type != TArcType::atRAR && detection.type != TArcType::atRarExe) {
        refuse(problems, key,
               QStringLiteral("%1 is not a RAR archive (detection finds %2)")
                   .arg(name, QString::fromLatin1(ArcTypeName(detection.type))));
        return false;
    }
    return true;
}

void reportTest(const QString& key, const QString& name, const ArchiveContents& contents,
                PackageProblems& problems)
{
    int damaged = 0;
    bool encrypted = false;
    for (const ArchiveEntry& entry : contents.entries) {
        encrypted = encrypted || entry.encrypted;
        if (entry.encrypted || entry.result == ERAR_SUCCESS)
            continue;
        if (++damaged > kDamagedEntriesNamed)
            continue;
        const QString fault = entry.result == ERAR_BAD_DATA
                                  ? QStringLiteral("its data does not match the archive's check")
                                  : libraryText(entry.result);
        refuse(problems, key,
               QStringLiteral("%1: the entry %2 is damaged or incomplete (%3), and setup would "
                              "install it so or not at all: pack or copy the archive again")
                   .arg(name, entry.name, fault));
    }
    if (damaged > kDamagedEntriesNamed)
        refuse(problems, key,
               QStringLiteral("%1: %2 more entries do not decode intact")
                   .arg(name)
                   .arg(damaged - kDamagedEntriesNamed));
    for (const QString& volume : contents.missingVolumes)
        refuse(problems, key,
               QStringLiteral("%1 needs the volume %2, which is not in the package")
                   .arg(name, volume));
    if (contents.cut)
        refuse(problems, key,
               QStringLiteral("%1 ends early (an incomplete download or copy), and setup would "
                              "refuse it: make or copy the archive again")
                   .arg(name));
    if (contents.result != ERAR_SUCCESS && contents.missingVolumes.empty())
        refuse(problems, key,
               QStringLiteral("the RAR library cannot read %1 to its end: %2")
                   .arg(name, libraryText(contents.result)));
    else if (encrypted)
        refuse(problems, key,
               QStringLiteral("%1: %2").arg(name, libraryText(ERAR_MISSING_PASSWORD)));
    inform(problems, key,
           QStringLiteral("tested %1: %2 entries, %3 unpacked, decoded in %4 s")
               .arg(name)
               .arg(contents.entries.size())
               .arg(QLocale::c().formattedDataSize(qint64(contents.unpackedBytes), 1,
                                                   QLocale::DataSizeSIFormat))
               .arg(contents.seconds, 0, 'f', 2));
}

} // namespace

std::optional<ArchiveContents> checkArchive(const QString& key, const QString& archivePath,
                                            PackageProblems& problems)
{
    if (!QFileInfo(archivePath).isFile()) {
        reportMissingFile(key, archivePath, problems);
        return std::nullopt;
    }
    if (!isRarArchive(key, archivePath, problems))
        return std::nullopt;
    const QString name = QFileInfo(archivePath).fileName();
    if (!RarLibraryLoaded()) {
        refuse(problems, key, QStringLiteral("no RAR library is bound to test %1").arg(name));
        return std::nullopt;
    }
    ArchiveContents contents = readArchiveContents(archivePath.toStdString());
    reportTest(key, name, contents, problems);
    return contents;
}
