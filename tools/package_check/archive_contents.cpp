#include "tools/package_check/archive_contents.h"

#include "archive/engine/archive_end.h"
#include "archive/engine/rar_entry.h"
#include "archive/engine/rar_library.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include <unistd.h>

namespace {

// The library's callback carries no user data: one walk at a time fills this.
std::vector<QString>* missingVolumesOfWalk = nullptr;
// The volume the library moved to last, for the check of how it ends.
std::string* lastVolumeOfWalk = nullptr;

int onChangeVolume(char* name, int mode)
{
    if (mode == RAR_VOL_NOTIFY)
        *lastVolumeOfWalk = name;
    if (mode == RAR_VOL_ASK) {
        missingVolumesOfWalk->push_back(QFileInfo(QString::fromLocal8Bit(name)).fileName());
        return 0; // stop: nobody can supply the volume
    }
    return 1; // the next volume was found: go on
}

struct Header {
    RARHeaderDataEx data{};
    wchar_t redirection[RAR_NAME_SIZE_EX]{};
};

// The extended record where the library has it (wide names, 64-bit sizes,
// link targets), else the plain one copied into it.
int readHeader(const RarEntryPoints& rar, RAR_HANDLE archive, Header& header)
{
    header = Header{};
    if (rar.RARReadHeaderEx) {
        header.data.RedirName = header.redirection;
        header.data.RedirNameSize = RAR_NAME_SIZE_EX;
        return rar.RARReadHeaderEx(archive, &header.data);
    }
    RARHeaderData plain{};
    const int result = rar.RARReadHeader(archive, &plain);
    std::copy(std::begin(plain.FileName), std::end(plain.FileName), header.data.FileName);
    header.data.Flags = plain.Flags;
    header.data.UnpSize = plain.UnpSize;
    header.data.HostOS = plain.HostOS;
    header.data.FileAttr = plain.FileAttr;
    return result;
}

ArchiveEntry entryOf(const Header& header)
{
    const RARHeaderDataEx& data = header.data;
    ArchiveEntry entry;
    entry.name = data.FileNameW[0] != 0 ? QString::fromWCharArray(data.FileNameW)
                                        : QString::fromStdString(StoredEntryName(data));
    entry.name.replace(u'\\', u'/');
    entry.folder = IsFolderEntry(data);
    entry.link = IsLinkEntry(data);
    entry.reference = data.RedirType == RAR_REDIR_HARDLINK || data.RedirType == RAR_REDIR_FILECOPY;
    entry.linkTarget = QString::fromWCharArray(header.redirection);
    if (data.HostOS == RAR_HOST_UNIX)
        entry.unixMode = data.FileAttr & 07777;
    entry.size = (std::uint64_t(data.UnpSizeHigh) << 32) | data.UnpSize;
    entry.encrypted = (data.Flags & RHDF_ENCRYPTED) != 0;
    return entry;
}

// The target of the link at `path` as written in it; empty for no link.
QString linkTargetAt(const QByteArray& path)
{
    char target[4096];
    const ssize_t length = readlink(path.constData(), target, sizeof target);
    return length > 0 ? QFile::decodeName(QByteArray(target, length)) : QString();
}

// A link the library stores its target for as data (older archives) is
// written where nothing else lives, and its target read back; the library
// writes no link whose target would leave the folder.
int writeLinkToRead(const RarEntryPoints& rar, RAR_HANDLE archive, ArchiveEntry& entry,
                    std::unique_ptr<QTemporaryDir>& scratch)
{
    if (HasParentComponent(entry.name.toStdString()) || QDir::isAbsolutePath(entry.name))
        return rar.RARProcessFile(archive, RAR_SKIP, nullptr, nullptr);
    if (!scratch)
        scratch = std::make_unique<QTemporaryDir>();
    const QString destination = QDir(scratch->path()).filePath(entry.name);
    QDir().mkpath(QFileInfo(destination).path());
    std::string folder = scratch->path().toStdString() + '/';
    std::string name = destination.toStdString();
    const int result = rar.RARProcessFile(archive, RAR_EXTRACT, folder.data(), name.data());
    entry.linkTarget = linkTargetAt(QFile::encodeName(destination));
    return result;
}

} // namespace

ArchiveContents readArchiveContents(const std::string& path)
{
    ArchiveContents contents;
    QElapsedTimer clock;
    clock.start();
    const RarEntryPoints& rar = RarLibrary();
    RAROpenArchiveData open{};
    open.ArcName = const_cast<char*>(path.c_str());
    open.OpenMode = RAR_OM_EXTRACT;
    RAR_HANDLE archive = rar.RAROpenArchive(&open);
    if (!archive) {
        contents.result = open.OpenResult != ERAR_SUCCESS ? int(open.OpenResult) : ERAR_EOPEN;
        return contents;
    }
    missingVolumesOfWalk = &contents.missingVolumes;
    std::string lastVolume = path;
    lastVolumeOfWalk = &lastVolume;
    rar.RARSetChangeVolProc(archive, &onChangeVolume);
    std::unique_ptr<QTemporaryDir> scratch;
    Header header;
    int result = ERAR_SUCCESS;
    while ((result = readHeader(rar, archive, header)) == ERAR_SUCCESS) {
        ArchiveEntry entry = entryOf(header);
        if (entry.encrypted)
            entry.result = rar.RARProcessFile(archive, RAR_SKIP, nullptr, nullptr);
        else if (entry.link && entry.linkTarget.isEmpty())
            entry.result = writeLinkToRead(rar, archive, entry, scratch);
        else
            entry.result = rar.RARProcessFile(archive, RAR_TEST, nullptr, nullptr);
        if (!entry.folder && !entry.link)
            contents.unpackedBytes += entry.size;
        contents.entries.push_back(entry);
        if (!contents.missingVolumes.empty())
            break;
    }
    rar.RARCloseArchive(archive);
    missingVolumesOfWalk = nullptr;
    lastVolumeOfWalk = nullptr;
    contents.result = result == ERAR_END_ARCHIVE ? ERAR_SUCCESS : result;
    // The library ends some cut archives as if they were whole; the installer
    // refuses them by how their last volume ends, and so does this check.
    if (contents.result == ERAR_SUCCESS) {
        const VolumeEnding first = ReadVolumeEnding(path, false);
        const bool recordsWritten =
            first == VolumeEnding::Last || first == VolumeEnding::MoreVolumes;
        const VolumeEnding last =
            lastVolume == path ? first : ReadVolumeEnding(lastVolume, recordsWritten);
        contents.cut = last == VolumeEnding::Cut || last == VolumeEnding::MoreVolumes;
    }
    contents.seconds = clock.elapsed() / 1000.0;
    return contents;
}
