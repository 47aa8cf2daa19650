#include "archive/engine/target_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <new>
#include <string_view>
#include <utility>

namespace fs = std::filesystem;

namespace {

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The last "/" of a path, found as fast as the C library can: every entry's
// path is split several times.
std::size_t lastSlash(std::string_view path)
{
    const void* slash = memrchr(path.data(), '/', path.size());
    return slash ? static_cast<std::size_t>(static_cast<const char*>(slash) - path.data())
                 : std::string_view::npos;
}

// The folder and the name part of a path, as views into it.
std::string_view parentOf(std::string_view path)
{
    const std::size_t slash = lastSlash(path);
    if (slash == std::string_view::npos)
        return ".";
    return slash == 0 ? std::string_view("/") : path.substr(0, slash);
}

std::string_view namePartOf(std::string_view path)
{
    const std::size_t slash = lastSlash(path);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Both at once, for the path of the entry in work.
struct Split {
    std::string_view folder;
    std::string_view name;
};

// `slash` is the path's last "/" (lastSlash).
Split splitAt(std::string_view path, std::size_t slash)
{
    if (slash == std::string_view::npos)
        return {".", path};
    return {slash == 0 ? std::string_view("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// The characters of a name as a case-folding file system compares them, each
// in upper case: exFAT and NTFS fold every letter by their upper-case table,
// not ASCII letters alone. Read through the run's UTF-8 character type; a
// byte that starts no character stands for itself.
std::u32string upperCased(std::string_view name)
{
    std::u32string folded;
    std::mbstate_t state{};
    for (std::size_t i = 0; i < name.size();) {
        wchar_t c = 0;
        const std::size_t used = std::mbrtowc(&c, name.data() + i, name.size() - i, &state);
        if (used == 0 || used > name.size() - i) {
            folded += static_cast<char32_t>(0x110000 + static_cast<unsigned char>(name[i]));
            state = std::mbstate_t{};
            ++i;
            continue;
        }
        folded += static_cast<char32_t>(std::towupper(static_cast<std::wint_t>(c)));
        i += used;
    }
    return folded;
}

// A name without the trailing blanks and dots that FAT, exFAT and NTFS drop.
std::string_view withoutTrailingBlanksAndDots(std::string_view name)
{
    std::size_t end = name.size();
    while (end > 0 && (name[end - 1] == ' ' || name[end - 1] == '.'))
        --end;
    return name.substr(0, end);
}

// Names a case-folding file system takes for one: equal but for letter case
// and trailing blanks and dots.
bool foldsTogether(std::string_view a, std::string_view b)
{
    return upperCased(withoutTrailingBlanksAndDots(a)) ==
           upperCased(withoutTrailingBlanksAndDots(b));
}

// Each byte of a name as a case-folding file system takes it: ASCII letters
// in one case; 0 for a byte the record cannot tell (see foldedKey).
constexpr std::array<unsigned char, 256> kFoldedByte = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned char c = 0x20; c < 0x7F; ++c)
        table[c] = c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    for (const char c : std::string_view("\"*:<>?\\|~"))
        table[static_cast<unsigned char>(c)] = 0;
    return table;
}();

// A name as a case-folding file system takes it (ASCII letters in one case,
// without trailing blanks and dots), as a hash: names that fold together
// hash alike, and two others that happen to only send the second to the file
// system. 0 for a name the record cannot tell: one that is not printable
// ASCII, or holds a character some file systems refuse or the "~" of a
// short alias.
std::uint64_t foldedKey(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ULL; // FNV-1a
    for (const char c : withoutTrailingBlanksAndDots(name)) {
        const unsigned char folded = kFoldedByte[static_cast<unsigned char>(c)];
        if (folded == 0)
            return 0;
        hash = (hash ^ folded) * 1099511628211ULL;
    }
    // The trailing blanks and dots left out are plain.
    return hash == 0 ? 1 : hash;
}

bool removeFromTheWay(int folder, const char* name)
{
    return unlinkat(folder, name, 0) == 0 || errno == ENOENT;
}

// Characters some file systems refuse in names (FAT, exFAT, NTFS, shares
// with Windows); only names holding one are tried before the library writes.
bool mayBeRefused(std::string_view name)
{
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F ||
               std::string_view("\"*:<>?\\|").find(c) != std::string_view::npos;
    });
}

// Whether the file system takes the name: tried by making the file in its
// folder and removing it again. A failure for any other reason than the name
// (no permission, a read-only volume) is left to the library to report.
bool fileSystemTakes(int folder, const char* name)
{
    const int fd = openat(folder, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno != EINVAL && errno != ENOENT && errno != EILSEQ && errno != ENAMETOOLONG;
    close(fd);
    unlinkat(folder, name, 0);
    return true;
}

// A regular file, of `size` where it is given.
bool isFileOfSize(const struct stat& status, const uint64_t* size)
{
    return S_ISREG(status.st_mode) &&
           (size == nullptr || static_cast<uint64_t>(status.st_size) == *size);
}

// The deepest folder of the destination that exists: where free space is asked.
fs::path existingFolderOf(const std::string& destination)
{
    fs::path folder = fs::path(destination).parent_path();
    std::error_code error;
    while (!folder.empty() && !fs::is_directory(folder, error) && folder != folder.root_path())
        folder = folder.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

} // namespace

TargetFolder::TargetFolder(const std::string& target)
    : targetFolder_(withoutTrailingSlash(target)),
      targetPrefix_(targetFolder_ == "/" ? targetFolder_ : targetFolder_ + "/")
{
    umask_ = ::umask(0);
    ::umask(umask_);
}

std::string TargetFolder::belowTarget(std::string_view path) const
{
    return path.size() > targetPrefix_.size() ? std::string(path.substr(targetPrefix_.size()))
                                              : std::string();
}

bool TargetFolder::known(std::string_view folder) const
{
    return folders_.find(folder) != folders_.end();
}

inline std::string_view TargetFolder::kept(std::string_view text)
{
    if (text.empty())
        return {};
    char* copy = static_cast<char*>(records_.allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

std::size_t TargetFolder::nameLimit(std::string_view knownFolder)
{
    const dev_t device = folders_.find(knownFolder)->second.device;
    auto limit = nameMax_.find(device);
    if (limit == nameMax_.end()) {
        const long asked = pathconf(std::string(knownFolder).c_str(), _PC_NAME_MAX);
        limit = nameMax_.emplace(device, asked > 0 ? std::size_t(asked) : NAME_MAX).first;
    }
    return limit->second;
}

bool TargetFolder::nameHeld(std::string_view name, std::string_view knownFolder)
{
    return name.size() <= nameLimit(knownFolder);
}

bool TargetFolder::listed(const std::string& folder, const std::string& name)
{
    auto listing = listings_.find(folder);
    if (listing == listings_.end()) {
        listing = listings_.emplace(folder, std::unordered_set<std::string>()).first;
        if (DIR* dir = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(dir))
                listing->second.insert(entry->d_name);
            closedir(dir);
        }
    }
    return listing->second.count(name) != 0;
}

void TargetFolder::addToListing(std::string_view folder, std::string_view name)
{
    if (listings_.empty())
        return;
    if (const auto listing = listings_.find(std::string(folder)); listing != listings_.end())
        listing->second.emplace(name);
}

TargetFolder::Verdict TargetFolder::foldedName(std::string_view path, const std::string& folder)
{
    const std::string name(namePartOf(path));
    if (listed(folder, name))
        return {};
    for (const Written* written : paths_) {
        if (parentOf(written->path) == folder && foldsTogether(namePartOf(written->path), name))
            return {Refusal::SameFile, entryOf(*written)};
    }
    for (const auto& [known, id] : folders_) {
        if (parentOf(known) == folder && foldsTogether(namePartOf(known), name))
            return {Refusal::SameFile, belowTarget(known)};
    }
    return {Refusal::NameNotHeld, {}};
}

TargetFolder::Verdict TargetFolder::rememberFolder(const std::string& folder, const FileId& id)
{
    const auto [named, added] = folderNames_.emplace(id, belowTarget(folder));
    if (!added && named->second != belowTarget(folder))
        return {Refusal::SameFile, named->second}; // the file system folded two names into one
    folders_.emplace(folder, id);
    return {};
}

// Every folder from the target down to `folder` is a real folder, made where
// it was missing; known folders are not asked again.
TargetFolder::Verdict TargetFolder::ensureFolder(std::string_view path)
{
    if (path == heldPath_ || known(path))
        return {};
    const std::string folder(path);
    if (folder == targetFolder_ || folder.size() < targetPrefix_.size()) {
        std::error_code error;
        fs::create_directories(targetFolder_, error);
        struct stat status {};
        if (stat(targetFolder_.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            return {Refusal::FolderBlocked, {}};
        folderNames_.emplace(FileId{status.st_dev, status.st_ino}, std::string());
        folders_.emplace(targetFolder_, FileId{status.st_dev, status.st_ino});
        return {};
    }
    const std::string parent(parentOf(folder));
    if (Verdict verdict = ensureFolder(parent); verdict.refusal != Refusal::None)
        return verdict;
    const std::string_view name = namePartOf(folder);
    if (name.empty() || name == ".") {
        folders_.emplace(folder, folders_.at(parent));
        return {};
    }
    return checkFolder(folder, parent);
}

TargetFolder::Verdict TargetFolder::checkFolder(const std::string& folder,
                                                const std::string& parent)
{
    if (!nameHeld(namePartOf(folder), parent))
        return {Refusal::NameNotHeld, {}};
    struct stat status {};
    bool present = lstat(folder.c_str(), &status) == 0;
    if (present && S_ISLNK(status.st_mode)) {
        if (linksMade_.count(folder))
            return {Refusal::ThroughArchiveLink, {}};
        if (!removeFromTheWay(AT_FDCWD, folder.c_str()))
            return {Refusal::LinkNotRemoved, {}};
        present = false;
    }
    if (!present) {
        const bool made = mkdir(folder.c_str(), 0777) == 0;
        if (!made && errno != EEXIST)
            return {Refusal::FolderBlocked, {}};
        if (lstat(folder.c_str(), &status) != 0)
            return {Refusal::FolderBlocked, {}};
        addToListing(parent, namePartOf(folder));
        addMade(parent, namesMadeIn(parent), foldedKey(namePartOf(folder)));
        if (made && S_ISDIR(status.st_mode) && madeFolders_.try_emplace(folder, &records_).second)
            ++madeSerial_;
    } else if (!folderNames_.count(FileId{status.st_dev, status.st_ino})) {
        if (Verdict verdict = foldedName(folder, parent); verdict.refusal != Refusal::None)
            return verdict;
    }
    if (!S_ISDIR(status.st_mode))
        return {Refusal::FolderBlocked, {}};
    return rememberFolder(folder, FileId{status.st_dev, status.st_ino});
}

TargetFolder::~TargetFolder()
{
    if (heldFd_ >= 0)
        close(heldFd_);
}

int TargetFolder::heldFolder(std::string_view folder)
{
    if (folder != heldPath_) {
        if (heldFd_ >= 0)
            close(heldFd_);
        heldPath_ = folder;
        heldFd_ = open(heldPath_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (heldFd_ < 0)
            heldPath_.clear();
    }
    return heldFd_ >= 0 ? heldFd_ : AT_FDCWD;
}

TargetFolder::InWork& TargetFolder::takeUp(const std::string& destination)
{
    // The record of a write the entry left pending cannot be told from here.
    settlePending();
    const std::size_t slash = lastSlash(destination);
    const bool sameFolder =
        !work_.path.empty() && splitAt(destination, slash).folder == work_.folder;
    // Where both paths are the folder, a "/" and a name, and the folder and
    // its "/" hold the whole target prefix, the path starts as the last one did.
    const bool prefixInFolder = sameFolder && slash != std::string_view::npos && slash > 0 &&
                                work_.path.size() - work_.name.size() == slash + 1 &&
                                slash + 1 >= targetPrefix_.size();
    work_.path = destination;
    const Split split = splitAt(work_.path, slash);
    work_.folder = split.folder;
    work_.name = split.name;
    work_.key = foldedKey(work_.name);
    if (!prefixInFolder)
        work_.inTarget = work_.path.compare(0, targetPrefix_.size(), targetPrefix_) == 0;
    work_.lookedUp = false;
    work_.clearedNew = false;
    if (!sameFolder) {
        work_.known = false;
        work_.held = false;
        work_.limit = 0;
        work_.deviceKnown = false;
        work_.madeSerial = 0;
    }
    return work_;
}

inline bool TargetFolder::workFolderKnown()
{
    if (!work_.known)
        work_.known = known(work_.folder);
    return work_.known;
}

inline TargetFolder::Place TargetFolder::placeOf()
{
    // The name ends the path, so it ends with the path's terminating zero.
    if (work_.held)
        return {heldFd_, work_.name.data()};
    work_.held = work_.folder == heldPath_ && heldFd_ >= 0;
    if (!work_.held && workFolderKnown())
        work_.held = heldFolder(work_.folder) != AT_FDCWD;
    return work_.held ? Place{heldFd_, work_.name.data()} : Place{AT_FDCWD, work_.path.c_str()};
}

inline KeySet* TargetFolder::madeInWork()
{
    if (work_.madeSerial != madeSerial_) {
        work_.made = namesMadeIn(work_.folder);
        work_.madeSerial = madeSerial_;
    }
    return work_.made;
}

inline bool TargetFolder::knownFree()
{
    const KeySet* made = madeInWork();
    return made && work_.key != 0 && !made->contains(work_.key);
}

inline bool TargetFolder::workNameHeld()
{
    if (work_.limit == 0)
        work_.limit = nameLimit(work_.folder);
    return work_.name.size() <= work_.limit;
}

inline void TargetFolder::addMade(std::string_view folder, KeySet* made, std::uint64_t key)
{
    if (!made)
        return;
    // A name the record cannot tell may fold together with any other.
    if (key != 0) {
        made->insert(key);
    } else {
        madeFolders_.erase(madeFolders_.find(folder));
        ++madeSerial_;
    }
}

KeySet* TargetFolder::namesMadeIn(std::string_view folder)
{
    const auto made = madeFolders_.find(folder);
    return made == madeFolders_.end() ? nullptr : &made->second;
}

inline void TargetFolder::settlePending()
{
    if (!work_.pending)
        return;
    work_.pending = false;
    if (const auto made = madeFolders_.find(work_.folder); made != madeFolders_.end()) {
        madeFolders_.erase(made);
        ++madeSerial_;
    }
}

std::string TargetFolder::entryOf(const Written& written) const
{
    return written.entry.empty() ? belowTarget(written.path) : std::string(written.entry);
}

inline TargetFolder::Written* TargetFolder::keep(const Written& written)
{
    return new (records_.allocate(sizeof(Written), alignof(Written))) Written(written);
}

std::uint64_t TargetFolder::hashOf(const FileId& id)
{
    return static_cast<std::uint64_t>(id.inode) ^
           (static_cast<std::uint64_t>(id.device) * 0x9E3779B97F4A7C15ULL);
}

const TargetFolder::Written* TargetFolder::writtenAs(const FileId& id) const
{
    return byId_.find(hashOf(id), [&](const Written& written) { return written.id == id; });
}

TargetFolder::Written* TargetFolder::writtenAt(std::string_view path)
{
    for (; pathsIndexed_ < paths_.size(); ++pathsIndexed_)
        byPath_.insert(TextHash()(paths_[pathsIndexed_]->path), paths_[pathsIndexed_]);
    return byPath_.find(TextHash()(path),
                        [&](const Written& written) { return written.path == path; });
}

bool TargetFolder::exists(const std::string& destination)
{
    settlePending();
    InWork& work = inWork(destination);
    work.lookedUp = true;
    work.lookedUpFree = knownFree();
    if (work.lookedUpFree) {
        work.lookedUpFound = false;
        return false;
    }
    const Place place = placeOf();
    work.lookedUpFound =
        fstatat(place.folder, place.name, &work.lookedUpStatus, AT_SYMLINK_NOFOLLOW) == 0;
    return work.lookedUpFound;
}

bool TargetFolder::lookUp(const Place& place, struct stat& status)
{
    if (work_.lookedUp) {
        work_.lookedUp = false;
        status = work_.lookedUpStatus;
        return work_.lookedUpFound;
    }
    return fstatat(place.folder, place.name, &status, AT_SYMLINK_NOFOLLOW) == 0;
}

TargetFolder::Verdict TargetFolder::prepareFile(const std::string& destination)
{
    settlePending();
    InWork& work = inWork(destination);
    // One object answered throughout, so it is built where the caller takes it.
    Verdict verdict = clearPath();
    if (verdict.refusal == Refusal::None && work.inTarget && madeInWork())
        work.pending = true;
    return verdict;
}

inline TargetFolder::Verdict TargetFolder::clearPath()
{
    InWork& work = work_;
    if (!work.inTarget)
        return {};
    if (!workFolderKnown()) {
        if (Verdict verdict = ensureFolder(work.folder); verdict.refusal != Refusal::None)
            return verdict;
    }
    work.clearedNew = false;
    if (!workNameHeld())
        return {Refusal::NameNotHeld, {}};
    // Nothing the run wrote can stand at a path known to be free.
    if ((work.lookedUp && work.lookedUpFree) || knownFree()) {
        work.lookedUp = false;
        work.clearedNew = true;
        return {};
    }
    const std::string& destination = work.path;
    const std::string_view name = work.name;
    const Place place = placeOf();
    struct stat status {};
    if (!lookUp(place, status))
        return mayBeRefused(name) && !fileSystemTakes(place.folder, place.name)
                   ? Verdict{Refusal::NameNotHeld, {}}
                   : Verdict{};
    settleUnlisted(); // the records below must hold every identity
    if (const Written* earlier = writtenAs(FileId{status.st_dev, status.st_ino}))
        return {Refusal::SameFile, entryOf(*earlier)};
    if (const Written* earlier = writtenAt(destination))
        return {Refusal::SameFile, entryOf(*earlier)};
    if (Verdict verdict = foldedName(destination, std::string(work.folder));
        verdict.refusal != Refusal::None)
        return verdict;
    if (S_ISDIR(status.st_mode)) {
        const auto named = folderNames_.find(FileId{status.st_dev, status.st_ino});
        if (named != folderNames_.end() && named->second != belowTarget(destination))
            return {Refusal::SameFile, named->second};
        return {Refusal::IsFolder, {}};
    }
    // A link or a file with other names would carry the write to another
    // file; a read-only one is replaced like any other file.
    const bool replace =
        S_ISLNK(status.st_mode) ||
        (S_ISREG(status.st_mode) && (status.st_nlink > 1 || !(status.st_mode & S_IWUSR)));
    if (replace && !removeFromTheWay(place.folder, place.name))
        return {Refusal::LinkNotRemoved, {}};
    return {};
}

TargetFolder::Verdict TargetFolder::makeFolder(const std::string& destination, mode_t permissions)
{
    settlePending();
    const std::string folder = withoutTrailingSlash(destination);
    if (folder.compare(0, targetPrefix_.size(), targetPrefix_) != 0)
        return {};
    settleUnlisted();
    struct stat status {};
    if (lstat(folder.c_str(), &status) == 0) {
        if (const Written* earlier = writtenAs(FileId{status.st_dev, status.st_ino}))
            return {Refusal::SameFile, entryOf(*earlier)};
    }
    if (Verdict verdict = ensureFolder(folder); verdict.refusal != Refusal::None)
        return verdict;
    ++foldersMade_;
    folderPermissions_.emplace_back(folder, permissions);
    return {};
}

inline dev_t TargetFolder::workDevice()
{
    if (!work_.deviceKnown) {
        work_.device = folders_.find(work_.folder)->second.device;
        work_.deviceKnown = true;
    }
    return work_.device;
}

const TargetFolder::ModeRule* TargetFolder::modeRule(dev_t device, std::uint64_t storedMode) const
{
    for (const ModeRule& rule : modeRules_) {
        if (rule.device == device && rule.storedMode == storedMode)
            return &rule;
    }
    return nullptr;
}

void TargetFolder::learnMode(dev_t device, std::uint64_t storedMode, bool leavesWanted)
{
    constexpr std::size_t kRulesKept = 32;
    if (modeRules_.size() < kRulesKept)
        modeRules_.push_back({device, storedMode, leavesWanted});
}

TargetFolder::Written* TargetFolder::keepWorkPath(const FileId& id, const std::string& entry)
{
    // The entry's name is kept only where it is not the path below the target.
    const bool belowAsStored = work_.inTarget &&
                               work_.path.size() == targetPrefix_.size() + entry.size() &&
                               work_.path.compare(targetPrefix_.size(), entry.size(), entry) == 0;
    Written* record =
        keep({id, kept(work_.path), belowAsStored ? std::string_view() : kept(entry)});
    paths_.push_back(record);
    return record;
}

bool TargetFolder::recordWritten(const std::string& destination, const WrittenEntry& written)
{
    InWork& work = inWork(destination);
    work.lookedUp = false; // what was looked up before the write is gone
    // Where nothing but what the run put there can stand at the path, a
    // plain file is checked with its folder's others from their listing.
    const bool fresh = work.inTarget && work.clearedNew && !written.link && !written.hardLink &&
                       written.dataWhole && madeInWork();
    const ModeRule* rule = fresh ? modeRule(workDevice(), written.storedMode) : nullptr;
    bool unlisted = rule && rule->leavesWanted;
    if (!unlisted_.empty() && (!unlisted || work.folder != unlistedFolder_))
        settleUnlisted(); // what waits is asked first: its identities count below
    // A folder is listed once: in a run that comes back to it, as an archive
    // whose entries take turns between folders does, each file is asked alone.
    if (unlisted && unlisted_.empty()) {
        unlisted = listedFolders_.emplace(work.folder).second;
        if (unlisted) {
            unlistedFolder_.assign(work.folder);
            unlistedDevice_ = workDevice();
        }
    }
    if (unlisted) {
        Written* record = keepWorkPath(FileId{}, written.entry);
        unlisted_.push_back({record, record->path.substr(record->path.size() - work.name.size()),
                             work.key, written.size ? *written.size : 0, written.size != nullptr});
        work.clearedNew = false;
        work.pending = false;
        addToListing(work.folder, work.name);
        addMade(work.folder, madeInWork(), work.key);
        return true;
    }
    const Place place = placeOf();
    struct stat status; // filled by fstatat
    if (fstatat(place.folder, place.name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    const bool kindRight =
        written.link ? S_ISLNK(status.st_mode) : isFileOfSize(status, written.size);
    if (!kindRight)
        return false;
    const FileId id{status.st_dev, status.st_ino};
    const bool newPath = std::exchange(work.clearedNew, false);
    // The path's record, made where the path is new to the run.
    const auto pathRecord = [&] {
        Written* atPath = newPath ? nullptr : writtenAt(work.path);
        return atPath ? atPath : keepWorkPath(id, written.entry);
    };
    // A new file is known by its identity as its path's record names it; a
    // file an earlier entry made may take another name only as a hard link.
    const Written* sameFile = byId_.findOrAdd(
        hashOf(id), [&](const Written& record) { return record.id == id; },
        [&] {
            Written* atPath = pathRecord();
            return atPath->id == id ? atPath : keep({id, atPath->path, atPath->entry});
        });
    if (sameFile && !written.hardLink)
        return false;
    if (sameFile)
        pathRecord();
    work.pending = false;
    addToListing(work.folder, work.name);
    addMade(work.folder, madeInWork(), work.key);
    const bool modeWanted = (status.st_mode & 07777) == written.permissions;
    if (fresh && !rule)
        learnMode(workDevice(), written.storedMode, modeWanted);
    if (written.link)
        linksMade_.insert(work.path);
    else if (!modeWanted)
        fchmodat(place.folder, place.name, written.permissions, 0); // FAT, exFAT keep their own
    return true;
}

const std::string* TargetFolder::unlistedFailure(std::string_view nextDestination)
{
    if (!unlisted_.empty() &&
        (nextDestination.empty() || parentOf(nextDestination) != unlistedFolder_))
        settleUnlisted();
    return lateFailure_.empty() ? nullptr : &lateFailure_;
}

void TargetFolder::settleUnlisted()
{
    if (unlisted_.empty())
        return;
    listUnlisted();
    for (Unlisted& file : unlisted_) {
        bool right = false;
        if (file.listed && file.type == DT_REG) {
            file.record->id = FileId{unlistedDevice_, file.inode};
            // An identity met before may be the file system's, not the
            // file's (some give every name one number): the file is asked.
            right = !earlierWithId(file.record) || checkAlone(file);
        } else if (file.listed && file.type == DT_UNKNOWN) {
            right = checkAlone(file);
        }
        if (!right && lateFailure_.empty())
            lateFailure_ = std::string(file.record->path);
    }
    unlisted_.clear();
}

void TargetFolder::listUnlisted()
{
    const int fd = heldPath_ == unlistedFolder_ && heldFd_ >= 0
                       ? openat(heldFd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                       : open(unlistedFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0)
            close(fd);
        for (Unlisted& file : unlisted_)
            file.listed = true; // each is asked alone (type unknown)
        return;
    }
    // The files are found by the key each name already has (names that
    // fold together share it, so the name itself is compared).
    struct ByKey {
        std::uint64_t operator()(const Unlisted& file) const { return file.key; }
    };
    std::array<std::byte, 8192> space;
    std::pmr::monotonic_buffer_resource arena(space.data(), space.size());
    RecordIndex<Unlisted, ByKey> byKey(&arena);
    byKey.reserve(unlisted_.size());
    for (Unlisted& file : unlisted_)
        byKey.insert(file.key, &file);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        const std::uint64_t key = foldedKey(name);
        if (key == 0)
            continue; // not a name the run left unlisted
        if (Unlisted* file =
                byKey.find(key, [&](const Unlisted& unlisted) { return unlisted.name == name; })) {
            file->listed = true;
            file->inode = entry->d_ino;
            file->type = entry->d_type;
        }
    }
    closedir(dir);
}

bool TargetFolder::checkAlone(Unlisted& file)
{
    const std::string path(file.record->path);
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 ||
        !isFileOfSize(status, file.sizeKnown ? &file.size : nullptr))
        return false;
    file.record->id = FileId{status.st_dev, status.st_ino};
    return !earlierWithId(file.record);
}

const TargetFolder::Written* TargetFolder::earlierWithId(Written* record)
{
    const FileId id = record->id;
    return byId_.findOrAdd(
        hashOf(id), [&](const Written& earlier) { return earlier.id == id; },
        [&] { return record; });
}

void TargetFolder::applyFolderPermissions()
{
    std::stable_sort(folderPermissions_.begin(), folderPermissions_.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (const auto& [folder, permissions] : folderPermissions_) {
        // Never through a link that took a folder's place since.
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            fchmod(fd, permissions);
            close(fd);
        }
    }
    folderPermissions_.clear();
}

bool VolumeFull(const std::string& destination, uint64_t entrySize, int writeErrno)
{
    if (writeErrno == ENOSPC || writeErrno == EDQUOT)
        return true;
    struct statvfs volume {};
    if (statvfs(existingFolderOf(destination).c_str(), &volume) != 0)
        return false;
    const uint64_t available = static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
    const bool noFreeInodes = volume.f_files > 0 && volume.f_favail == 0;
    return available == 0 || available < entrySize || noFreeInodes;
}
