#include "tools/package_check/archive_check.h"

#include "archive/arc_type.h"
#include "archive/detect_arc_type.h"
#include "archive/message_table.h"
#include "archive/rar_entry.h"
#include "archive/rar_library.h"

#include <QFileInfo>

#include <exception>
#include <string>
#include <vector>

namespace {

// The volumes the library asked for and did not find; the library's
// callback carries no user data, so one listing at a time fills this.
std::vector<std::string>& missingVolumes()
{
    static std::vector<std::string> names;
    return names;
}

int onChangeVolume(char* name, int mode)
{
    if (mode == RAR_VOL_ASK) {
        missingVolumes().emplace_back(name);
        return 0; // stop: nobody can supply the volume
    }
    return 1; // the next volume was found: go on
}

QString libraryText(int code)
{
    const int32_t message = MessageForRarCode(code);
    if (message != 0)
        return QString::fromStdString(MessageText(message));
    if (code == ERAR_MISSING_PASSWORD || code == ERAR_BAD_PASSWORD)
        return QStringLiteral("its entries are encrypted and setup asks for no password");
    return QStringLiteral("the RAR library answers code %1").arg(code);
}

// The library's result for the whole listing: ERAR_SUCCESS when every entry
// was read and skipped to its end. Entries with encrypted data list well but
// cannot be extracted without the password setup never asks for.
int listArchive(const std::string& path, bool& encrypted)
{
    const RarEntryPoints& rar = RarLibrary();
    RAROpenArchiveData open{};
    open.ArcName = const_cast<char*>(path.c_str());
    open.OpenMode = RAR_OM_LIST;
    RAR_HANDLE handle = rar.RAROpenArchive(&open);
    if (!handle)
        return open.OpenResult != ERAR_SUCCESS ? int(open.OpenResult) : ERAR_EOPEN;
    rar.RARSetChangeVolProc(handle, &onChangeVolume);
    int result = ERAR_SUCCESS;
    RARHeaderData header{};
    while ((result = rar.RARReadHeader(handle, &header)) == ERAR_SUCCESS) {
        encrypted = encrypted || (header.Flags & RHDF_ENCRYPTED) != 0;
        result = rar.RARProcessFile(handle, RAR_SKIP, nullptr, nullptr);
        if (result != ERAR_SUCCESS)
            break;
    }
    rar.RARCloseArchive(handle);
    return result == ERAR_END_ARCHIVE ? ERAR_SUCCESS : result;
}

} // namespace

void checkArchive(const QString& key, const QString& archivePath, PackageProblems& problems)
{
    const QString name = QFileInfo(archivePath).fileName();
    if (!QFileInfo(archivePath).isFile()) {
        refuse(problems, key,
               QStringLiteral("the archive %1 is not in the package").arg(archivePath));
        return;
    }
    Detection detection;
    try {
        DetectArchive(archivePath.toStdString(), 0, detection);
    } catch (const std::exception& error) {
        refuse(problems, key,
               QStringLiteral("%1 cannot be read: %2").arg(name, QString::fromUtf8(error.what())));
        return;
    }
    if (detection.type != TArcType::atRAR && detection.type != TArcType::atRarExe) {
        refuse(problems, key,
               QStringLiteral("%1 is not a RAR archive (detection finds %2)")
                   .arg(name, QString::fromLatin1(ArcTypeName(detection.type))));
        return;
    }
    if (!RarLibraryLoaded()) {
        refuse(problems, key, QStringLiteral("no RAR library is bound to list %1").arg(name));
        return;
    }
    missingVolumes().clear();
    bool encrypted = false;
    const int result = listArchive(archivePath.toStdString(), encrypted);
    for (const std::string& volume : missingVolumes())
        refuse(problems, key,
               QStringLiteral("%1 needs the volume %2, which is not in the package")
                   .arg(name, QFileInfo(QString::fromStdString(volume)).fileName()));
    if (result != ERAR_SUCCESS && missingVolumes().empty())
        refuse(problems, key,
               QStringLiteral("the RAR library cannot list %1: %2").arg(name, libraryText(result)));
    else if (encrypted)
        refuse(problems, key,
               QStringLiteral("%1: %2").arg(name, libraryText(ERAR_MISSING_PASSWORD)));
}
