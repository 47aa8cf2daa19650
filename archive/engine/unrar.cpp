#include "archive/engine/unrar.h"

#include "archive/engine/archive_end.h"
#include "archive/engine/file_found.h"
#include "base/current_directory.h"
#include "base/path_rules.h"
#include "base/process_messages.h"
#include "archive/engine/rar_entry.h"
#include "archive/engine/rar_header.h"
#include "archive/engine/rar_library.h"
#include "archive/engine/rar_messages.h"
#include "archive/engine/rar_progress.h"
#include "archive/engine/target_access.h"
#include "archive/engine/target_folder.h"
#include "base/utf8_character_type.h"
#include "archive/engine/wildcard.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <utility>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

constexpr unsigned int kCommentBufferSize = 16384;
// The published interface guarantees at least this many bytes in the name
// buffer the change-volume callback is handed.
constexpr size_t kVolumeNameBufferSize = 1024;
// The public library copies the destination folder and name it is handed
// into buffers of 2,046 bytes and cuts what does not fit, which would put
// the entry somewhere above its folder; no longer path is handed to either
// library.
constexpr size_t kLongestLibraryPath = 2045;
const std::string kVolumeId = "0";
// Between progress reports of a long entry the window system still gets a
// turn this often, so a Cancel click stops the entry within a moment.
constexpr std::chrono::milliseconds kMessageInterval{100};

// A refused name is reported whole, with "\" between its folders, so the
// message names the entry and not only its last part.
std::string reportedEntry(const std::string& storedName)
{
    return SlashToBackslash(storedName, PathStyle::Windows);
}

std::string withoutTrailingSlash(std::string path)
{
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// HasWildcards of the destination's name part, asked of every entry without
// cutting the name out; the C library finds its start fastest.
bool nameHasWildcards(const std::string& destination)
{
    const void* slash = memrchr(destination.data(), '/', destination.size());
    const std::size_t name =
        slash ? static_cast<std::size_t>(static_cast<const char*>(slash) - destination.data()) + 1
              : 0;
    return HasWildcards(std::string_view(destination).substr(name));
}

int32_t messageFor(TargetFolder::Refusal refusal)
{
    switch (refusal) {
    case TargetFolder::Refusal::IsFolder:
        return kMsgFileIsDirectory;
    case TargetFolder::Refusal::ThroughArchiveLink:
        return kMsgInvalidDirectory;
    case TargetFolder::Refusal::FolderBlocked:
        return kMsgErrorCreatingDir;
    case TargetFolder::Refusal::LinkNotRemoved:
        return kMsgErrorDeletingFile;
    case TargetFolder::Refusal::SameFile:
    case TargetFolder::Refusal::NameNotHeld:
    case TargetFolder::Refusal::None:
        break;
    }
    return kMsgInvalidFileName;
}

// Two entries that would land on one file are both named.
std::string reportedEntry(const std::string& storedName, const TargetFolder::Verdict& verdict)
{
    if (verdict.refusal != TargetFolder::Refusal::SameFile)
        return reportedEntry(storedName);
    return reportedEntry(storedName) + " = " + reportedEntry(verdict.earlier);
}

// What the run in progress shares with the library's callbacks, which carry
// no user argument: they reach it through activeRun, set for the run's length.
struct RunState {
    TUnRAR* component = nullptr;
    uint8_t progressStep = 10;
    uint8_t lastPercentage = 0;
    uint64_t remainingBytes = 0;
    uint64_t totalBytes = 0;
    std::chrono::steady_clock::time_point lastMessagePass;
    // The library passed data of the entry being extracted: it has begun to write it.
    bool dataDelivered = false;
    // The data callback stopped the entry because Cancel was set.
    bool stoppedByCancel = false;
    // A volume the library asked for that is not there (no owner to ask).
    std::string missingVolume;
    // The last volume the library moved to; the archive file until it moves.
    std::string lastVolume;
    // The archive's first volume ends with an end record, so every volume must.
    bool endRecordsWritten = false;
    // An exception thrown by a handler inside a callback must not unwind
    // through the library's frames: it is parked here, the library is asked
    // to stop, and the engine throws it again once the library call has returned.
    std::exception_ptr callbackFailure;
};

RunState* activeRun = nullptr;

// Makes `state` the run in progress until the run ends, however it ends. The
// last percentage goes on from run to run: it is never reset.
class ActiveRun {
public:
    explicit ActiveRun(RunState& state)
    {
        state.lastPercentage = lastPercentage_;
        activeRun = &state;
    }
    ~ActiveRun()
    {
        lastPercentage_ = activeRun->lastPercentage;
        activeRun = nullptr;
    }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    static inline uint8_t lastPercentage_ = 0;
};

void rethrowCallbackFailure()
{
    if (activeRun->callbackFailure)
        std::rethrow_exception(std::exchange(activeRun->callbackFailure, nullptr));
}

// The clock that spaces message passes, read with every block of data: the
// coarse one, a few milliseconds fine, is read without the processor's time
// counter and costs a fraction of the precise one.
std::chrono::steady_clock::time_point coarseNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::steady_clock::time_point(std::chrono::seconds(now.tv_sec) +
                                                 std::chrono::nanoseconds(now.tv_nsec));
}

int ProcessDataCallback(unsigned char*, int size)
{
    RunState& run = *activeRun;
    if (run.callbackFailure)
        return 0;
    run.dataDelivered = true;
    run.remainingBytes -= static_cast<uint64_t>(size);
    const uint64_t done = run.totalBytes - run.remainingBytes;
    try {
        const auto now = coarseNow();
        if (PercentageTest(run.progressStep, run.lastPercentage, done, run.totalBytes)) {
            run.component->DoProgress(run.lastPercentage);
            run.lastMessagePass = now;
        } else if (now - run.lastMessagePass >= kMessageInterval) {
            ProcessMessages();
            run.lastMessagePass = now;
        }
    } catch (...) {
        run.callbackFailure = std::current_exception();
        return 0;
    }
    // Cancel stops the entry being written, not only the run at the next entry.
    if (run.component->Cancel()) {
        run.stoppedByCancel = true;
        return 0;
    }
    return 1;
}

// The library's handle on an open archive, closed once however the walk ends.
class OpenedArchive {
public:
    OpenedArchive(const RarEntryPoints& library, void* handle) : library_(library), handle_(handle)
    {
    }
    ~OpenedArchive() { library_.RARCloseArchive(handle_); }
    OpenedArchive(const OpenedArchive&) = delete;
    OpenedArchive& operator=(const OpenedArchive&) = delete;

    void* get() const { return handle_; }

private:
    const RarEntryPoints& library_;
    void* handle_;
};

// Asks the owner for a missing volume until a file of that name is found in
// the current directory or the owner cancels.
bool askNextVolume(TUnRAR& rar, std::string& dir, std::string& fileName)
{
    bool cancel = false;
    int attempts = 0;
    std::error_code error;
    while (!std::filesystem::exists(fileName, error) && !cancel) {
        ++attempts;
        rar.OnNextVolume(&rar, dir, fileName, kVolumeId, cancel);
        const std::string chosenName = NamePart(dir);
        fileName = chosenName.empty() ? NamePart(fileName) : chosenName;
        dir = AppendBackslash(FolderPart(dir));
        ChangeDirectory(dir);
    }
    if (attempts == 0)
        dir = CurrentDirectory();
    return !cancel;
}

int ChangeVolumeCallback(char* arcName, int mode)
{
    RunState& run = *activeRun;
    const std::string volume = arcName ? arcName : "";
    if (mode != RAR_VOL_ASK) {
        run.lastVolume = volume;
        return run.callbackFailure ? 0 : 1;
    }
    // A volume that is not there, and that the owner (if any) cannot point
    // to, ends the run naming it once the library has given up on it.
    if (!run.component->OnNextVolume) {
        run.missingVolume = volume;
        return 0;
    }
    std::string fileName = NamePart(volume);
    std::string dir = FolderPart(volume);
    if (dir.empty())
        dir = CurrentDirectory();
    try {
        if (!askNextVolume(*run.component, dir, fileName)) {
            run.missingVolume = volume;
            return 0;
        }
        // The library opens whatever name the buffer then holds.
        const std::string chosen =
            AppendBackslash(dir.empty() ? CurrentDirectory() : dir) + fileName;
        if (!arcName || chosen.size() >= kVolumeNameBufferSize) {
            run.component->ReportError(chosen, kVolumeId, kMsgInvalidFileName);
            return 0;
        }
        chosen.copy(arcName, chosen.size());
        arcName[chosen.size()] = '\0';
        return 1;
    } catch (...) {
        run.callbackFailure = std::current_exception();
        return 0;
    }
}

// How the last volume the library moved to ends.
VolumeEnding lastVolumeEnding()
{
    return ReadVolumeEnding(activeRun->lastVolume, activeRun->endRecordsWritten);
}

// What the library began to write of an entry that did not come through is
// not the archive's file: it goes. Only a regular file can be that.
void removePartialFile(const std::string& destination)
{
    struct stat status {};
    if (lstat(destination.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        unlink(destination.c_str());
}

// The message of a library result for one entry: data that fails its check
// is a checksum error there (a header that cannot be read is another matter).
int32_t entryMessage(int code)
{
    return code == ERAR_BAD_DATA ? kMsgCrcFailed : MessageForRarCode(code);
}

} // namespace

TUnRAR::TUnRAR(TComponent* owner) : TUnBase(owner) {}

TUnRAR::~TUnRAR() = default;

bool TUnRAR::RunInProgress()
{
    return activeRun != nullptr;
}

void TUnRAR::ExtractArchive()
{
    if (activeRun)
        return; // the callbacks reach one run process-wide: a nested run would corrupt it
    RunState state;
    state.component = this;
    state.progressStep = ProgressStepPercent(ProgressNotify());
    const ActiveRun active(state);
    const ScopedUtf8CharacterType utf8Names;
    runFailed_ = false;
    run(RAR_EXTRACT, ArchiveFile());
}

void TUnRAR::run(int operation, std::string archiveName)
{
    try {
        EntryCounter = 0;
        checkPreconditions();
        if (OnActivate)
            OnActivate(this);
        std::exception_ptr failure;
        try {
            walkArchive(operation, archiveName);
        } catch (...) {
            failure = std::current_exception();
        }
        if (OnDeactivate)
            OnDeactivate(this);
        if (failure)
            std::rethrow_exception(failure);
    } catch (const E_RAISE&) {
        // Already reported through OnError; the caller sees only events.
    }
}

void TUnRAR::checkPreconditions()
{
    if (!RarLibraryLoaded())
        RaiseError(ArchiveFile(), kVolumeId, kMsgLibraryNotFound);
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), kVolumeId, kMsgInvalidFileName);
    if (ArcType() != TArcType::atRAR && ArcType() != TArcType::atRarExe)
        RaiseError(ArchiveFile(), kVolumeId, kMsgInvalidArchiveType);
}

void TUnRAR::failRun(const std::string& name, int32_t code)
{
    runFailed_ = true;
    RaiseError(name, kVolumeId, code);
}

std::string TUnRAR::targetFolder() const
{
    return FolderPart(AppendBackslash(ExtractDir()));
}

inline void TUnRAR::endIfVolumeMissing()
{
    if (activeRun->missingVolume.empty()) [[likely]]
        return;
    failRun(std::exchange(activeRun->missingVolume, std::string()), kMsgFileNotFound);
}

void TUnRAR::walkArchive(int operation, std::string& archiveName)
{
    const RarEntryPoints& library = RarLibrary();
    std::vector<char> comment(kCommentBufferSize);
    RAROpenArchiveData open{};
    open.ArcName = archiveName.data();
    open.OpenMode = RAR_OM_EXTRACT;
    open.CmtBuf = comment.data();
    open.CmtBufSize = kCommentBufferSize;
    void* opened = library.RAROpenArchive(&open);
    if (open.OpenResult != 0)
        RaiseError(archiveName, kVolumeId, MessageForRarCode(static_cast<int>(open.OpenResult)));
    const OpenedArchive archive(library, opened);
    archiveName_ = archiveName;
    activeRun->lastVolume = archiveName;

    // An incomplete download or copy is refused before anything is written.
    const VolumeEnding firstEnding = ReadVolumeEnding(archiveName, false);
    if (firstEnding == VolumeEnding::Cut)
        failRun(archiveName, kMsgUnexpectedEnd);
    activeRun->endRecordsWritten =
        firstEnding == VolumeEnding::Last || firstEnding == VolumeEnding::MoreVolumes;
    if (operation == RAR_EXTRACT) {
        if (const int32_t refusal = TargetRefusal(ExtractDir()); refusal != 0)
            failRun(targetFolder(), refusal);
    }

    library.RARSetProcessDataProc(archive.get(), ProcessDataCallback);
    library.RARSetChangeVolProc(archive.get(), ChangeVolumeCallback);
    // An archive whose headers are encrypted needs the password before its
    // first header can be read.
    if (!password_.empty())
        library.RARSetPassword(archive.get(), password_.data());
    // A header that cannot be read is reported while the archive is still
    // open, naming the archive: damaged, cut short, or locked without the
    // right password. The normal end counts only where the last volume ends
    // as a whole archive does.
    target_.reset();
    foldersMade_ = 0;
    int lastRead = ERAR_SUCCESS;
    try {
        lastRead = walkEntries(archive.get(), operation);
        if (operation == RAR_EXTRACT && !activeRun->stoppedByCancel && !Cancel())
            endIfUnlistedFailed({});
    } catch (...) {
        finishTarget();
        throw;
    }
    finishTarget();
    if (lastRead == ERAR_SUCCESS)
        return; // stopped by Cancel or by a single named entry
    const bool normalEnd = lastRead == ERAR_END_ARCHIVE;
    if (normalEnd || lastRead == ERAR_BAD_DATA || lastRead == ERAR_EREAD) {
        // At the normal end, a last volume that announces another is short too.
        const VolumeEnding ending = lastVolumeEnding();
        if (ending == VolumeEnding::Cut || (normalEnd && ending == VolumeEnding::MoreVolumes))
            failRun(archiveName, kMsgUnexpectedEnd);
    }
    if (lastRead == ERAR_BAD_DATA)
        failRun(archiveName, kMsgBadFileHeader);
    if (lastRead != ERAR_END_ARCHIVE)
        failRun(archiveName, MessageForRarCode(lastRead));
}

int TUnRAR::walkEntries(void* archive, int operation)
{
    const RarEntryPoints& library = RarLibrary();
    RarHeader header;
    SetCancel(false);
    const bool wildcard = HasWildcards(FileSpec());

    auto readNext = [&] {
        const int result = ReadRarHeader(library, archive, header);
        rethrowCallbackFailure();
        endIfVolumeMissing();
        return result;
    };
    int result = readNext();
    for (; result == ERAR_SUCCESS; result = readNext()) {
        if (Cancel())
            break;
        AssignStoredEntryName(header.data, storedName_);
        const std::string& name = storedName_;
        // FileName() is the stored name of an entry passed over or refused
        // here, and the destination path (BuildDestPath) of the others: it is
        // set once per entry, when no check is left that reads it.
        if (!WildcardMatch(name, FileSpec(), false)) {
            SetFileName(name);
            skipEntry(archive);
            continue;
        }
        // The one defence against names that would write outside ExtractDir:
        // BuildDestPath drops only a leading drive or separator and keeps the
        // stored folders as they stand, so only a ".." folder can climb out.
        // A name the library had to cut would be written under another name.
        if (name.empty() || HasParentComponent(name) || NameMayBeCut(header, name.size())) {
            SetFileName(name);
            refuseEntry(archive, kMsgInvalidFileName, reportedEntry(name));
        } else {
            // None of the name's parts holds a wildcard the whole name lacks.
            handleEntry(archive, operation, header, wildcard, !HasWildcards(name));
        }
        if (!wildcard || activeRun->stoppedByCancel)
            break;
    }
    return result;
}

void TUnRAR::handleEntry(void* archive, int operation, const RarHeader& header, bool wildcard,
                         bool plainName)
{
    const std::string& storedName = storedName_;
    BuildDestPath(storedName);
    if (operation == RAR_EXTRACT)
        endIfUnlistedFailed(FileName());
    // Every entry would meet a target folder too long for the library.
    if (libraryFolder().size() > kLongestLibraryPath)
        failRun(withoutTrailingSlash(ExtractDir()), kMsgInvalidFileName);
    if (FileName().size() > kLongestLibraryPath) {
        refuseEntry(archive, kMsgInvalidFileName, reportedEntry(storedName));
        return;
    }
    if (IsFolderEntry(header.data)) {
        makeFolderEntry(archive, operation, header, storedName);
        return;
    }
    activeRun->remainingBytes = UnpackedSize(header);
    bool extract = true;
    // A name without wildcards is looked up in its folder held open.
    const bool found =
        OnFileExists && (!plainName && nameHasWildcards(FileName()) ? FileFound(FileName())
                                                                    : target().exists(FileName()));
    if (found)
        OnFileExists(this, FileName(),
                     DosDateToDateTime(static_cast<int32_t>(header.data.FileTime)), extract);
    if (extract) {
        const int32_t recNum = ++EntryCounter;
        if (OnBegin)
            OnBegin(this, FileName(), recNum, extract);
    }
    if (!extract) {
        if (wildcard)
            skipEntry(archive); // a single named entry ends the run unread
        return;
    }
    // Without its password an encrypted entry cannot be written, and neither
    // can what follows it in the archive: the run ends there.
    if ((header.data.Flags & RHDF_ENCRYPTED) && !acceptPassword(archive, storedName))
        failRun(FileName(), kMsgPasswordProtected);
    extractEntry(archive, operation, header, storedName);
}

void TUnRAR::skipEntry(void* archive)
{
    RarLibrary().RARProcessFile(archive, RAR_SKIP, nullptr, nullptr);
    rethrowCallbackFailure();
    endIfVolumeMissing();
}

bool TUnRAR::acceptPassword(void* archive, const std::string& storedName)
{
    bool tryAgain = true;
    if (OnGetPassword)
        OnGetPassword(this, storedName, password_, tryAgain);
    if (password_.empty() || !tryAgain)
        return false;
    RarLibrary().RARSetPassword(archive, password_.data());
    return true;
}

// An entry that must not be written is reported like a failed entry and
// passed over.
void TUnRAR::refuseEntry(void* archive, int32_t code, const std::string& reportedName)
{
    ReportError(reportedName, kVolumeId, code);
    fireEnd(false);
    skipEntry(archive);
}

// Folders are made by the engine, the same with every library, and fire no
// events unless they cannot be made.
void TUnRAR::makeFolderEntry(void* archive, int operation, const RarHeader& header,
                             const std::string& storedName)
{
    if (operation == RAR_EXTRACT) {
        const TargetFolder::Verdict verdict =
            target().makeFolder(FileName(), EntryPermissions(header.data, target().umask()));
        if (verdict.refusal != TargetFolder::Refusal::None) {
            refuseEntry(archive, messageFor(verdict.refusal), reportedEntry(storedName, verdict));
            return;
        }
    }
    skipEntry(archive);
}

void TUnRAR::extractEntry(void* archive, int operation, const RarHeader& header,
                          const std::string& storedName)
{
    const uint64_t size = UnpackedSize(header);
    activeRun->totalBytes = size;
    std::string& destName = destName_.assign(FileName());
    if (operation == RAR_EXTRACT) {
        const TargetFolder::Verdict verdict = target().prepareFile(destName);
        if (verdict.refusal != TargetFolder::Refusal::None) {
            refuseEntry(archive, messageFor(verdict.refusal), reportedEntry(storedName, verdict));
            return;
        }
    }
    activeRun->dataDelivered = false;
    errno = 0;
    const int result =
        RarLibrary().RARProcessFile(archive, operation, libraryFolder().data(), destName.data());
    const int writeErrno = errno;
    const bool writeFailed =
        result == ERAR_ECREATE || result == ERAR_EWRITE || result == ERAR_ECLOSE;
    // Asked before a partial file goes, which frees its space.
    const bool readOnly = writeFailed && OnReadOnlyVolume(destName, writeErrno);
    const bool full = writeFailed && !readOnly && VolumeFull(destName, size, writeErrno);
    if (result != ERAR_SUCCESS && activeRun->dataDelivered && operation == RAR_EXTRACT)
        removePartialFile(destName);
    rethrowCallbackFailure();
    endIfVolumeMissing();
    if (activeRun->stoppedByCancel)
        return; // the run ends quietly: the user asked for it
    // Nothing after these can be written either: one message ends the run.
    if (readOnly)
        failRun(targetFolder(), kMsgFileIsReadOnly);
    if (full)
        failRun(FileName(), kMsgDiskFull);
    // Data that ends early is the archive's fault, not the entry's.
    if ((result == ERAR_BAD_DATA || result == ERAR_EREAD) &&
        lastVolumeEnding() == VolumeEnding::Cut)
        failRun(archiveName_, kMsgUnexpectedEnd);
    int32_t failure = result == ERAR_SUCCESS ? 0 : entryMessage(result);
    // A success must mean the entry is on disk as stored; the library does
    // not always say when it could not make a link.
    if (result == ERAR_SUCCESS && operation == RAR_EXTRACT && !writtenAsStored(header, storedName))
        failure = kMsgErrorWritingFile;
    if (result != ERAR_SUCCESS || failure != 0)
        ReportError(FileName(), kVolumeId, failure);
    fireEnd(result == ERAR_SUCCESS && failure == 0);
}

bool TUnRAR::writtenAsStored(const RarHeader& header, const std::string& storedName)
{
    const bool link = IsLinkEntry(header.data);
    // Only the extended record tells the whole size, and only a plain file's
    // size is its own (a hard link or a copy takes its source's).
    const bool ownData = header.data.RedirType == RAR_REDIR_NONE;
    const bool sizeKnown = header.nameFieldSize == RAR_NAME_SIZE_EX && ownData;
    const uint64_t size = UnpackedSize(header);
    return target().recordWritten(
        FileName(), {storedName, link, sizeKnown && !link ? &size : nullptr,
                     header.data.RedirType == RAR_REDIR_HARDLINK,
                     EntryPermissions(header.data, target().umask()),
                     static_cast<uint64_t>(header.data.HostOS) << 32 | header.data.FileAttr,
                     !sizeKnown || activeRun->remainingBytes == 0});
}

// Files the target checks from their folder's listing are checked once the
// run leaves their folder: one that is not on disk as written ends the run.
void TUnRAR::endIfUnlistedFailed(std::string_view nextDestination)
{
    if (!target_)
        return;
    if (const std::string* failed = target_->unlistedFailure(nextDestination)) [[unlikely]]
        failRun(*failed, kMsgErrorWritingFile);
}

void TUnRAR::takeUpLibraryFolder()
{
    libraryFolderOf_ = ExtractDirChanges();
    libraryFolder_ = AppendBackslash(ExtractDir());
}

void TUnRAR::makeTarget()
{
    target_ = std::make_unique<TargetFolder>(ExtractDir());
}

void TUnRAR::finishTarget()
{
    if (!target_)
        return;
    target_->applyFolderPermissions();
    foldersMade_ = target_->foldersMade();
}

void TUnRAR::fireEnd(bool crcPass)
{
    if (OnEnd)
        OnEnd(this, FileName(), crcPass);
}
