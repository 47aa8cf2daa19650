#pragma once

#include "archive/engine/flat_index.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// What one run made in the target folder, and the checks that give every
// entry a path of its own there. The library follows links when it writes
// and the file system may fold names (letter case on exFAT, FAT and shares
// with Windows), so before the library writes an entry its path is checked
// against what stands there and what the run has made, and after it writes,
// what stands at the path must be new and of the entry's kind.
//
// The file system is asked once per folder: folders the run has checked or
// made are remembered. An entry in a known folder costs one look at its own
// path before the library writes and one after; in a folder the run made,
// where nothing stands but what the run put there, the look before is
// answered by the run's record of the names in it.
class TargetFolder {
public:
    enum class Refusal {
        None,
        IsFolder,           // a folder stands at a file entry's path
        SameFile,           // the path leads to what an earlier entry made
        ThroughArchiveLink, // one of the path's folders is a link an earlier entry made
        FolderBlocked,      // something other than a folder stands where one belongs
        NameNotHeld,        // the file system takes no such name (too long, refused characters)
        LinkNotRemoved,     // a link standing in the way could not be removed
    };
    struct Verdict {
        Refusal refusal = Refusal::None;
        // For SameFile: the earlier entry's stored name, or the folder's path
        // below the target, "/" between folders.
        std::string earlier;
    };

    // `target` is the target folder, with or without its trailing "/". The
    // target itself is the user's choice: it is made when missing and
    // otherwise left as it stands, a link included.
    explicit TargetFolder(const std::string& target);
    ~TargetFolder();
    TargetFolder(const TargetFolder&) = delete;
    TargetFolder& operator=(const TargetFolder&) = delete;

    // The user's umask, read once per run.
    mode_t umask() const { return umask_; }

    // Whether something stands at the path (a link counts).
    bool exists(const std::string& destination);

    // Before the library writes a file or link entry: the path's folders are
    // real folders (missing ones made, links not made by this run removed),
    // and at the path stands nothing or a file that the library may replace:
    // a link, a file with other hard links and a read-only file are removed
    // first, so the library writes a new file there. Paths outside the target
    // are not checked.
    Verdict prepareFile(const std::string& destination);

    // A folder entry: the folder and its missing parents are made; its
    // permissions are given at the end of the run (applyFolderPermissions).
    Verdict makeFolder(const std::string& destination, mode_t permissions);

    // What is known of an entry the library answered success for.
    struct WrittenEntry {
        const std::string& entry; // its stored name
        bool link;
        const uint64_t* size; // its own data's size, where known
        bool hardLink;
        mode_t permissions;
        // What the library sets the file's mode from: the host and the
        // stored attributes, one number.
        std::uint64_t storedMode;
        // The library passed the entry's whole size of data to be written.
        bool dataWhole;
    };

    // After the library answered success for an entry: what stands at the
    // path is a link for a link entry, otherwise a regular file (of its size
    // when known), and nothing an earlier entry made (a hard link entry
    // shares its file with the earlier one). It is remembered and a file gets
    // its permissions. False when the check fails.
    //
    // A plain file made new in a folder the run made, whose data came whole
    // and whose mode the library was seen to leave as wanted there, is
    // checked later with the folder's other files, from one listing of it
    // (unlistedFailure).
    bool recordWritten(const std::string& destination, const WrittenEntry& written);

    // Settles the files waiting for their folder's listing when the next
    // entry, at `nextDestination`, lies in another folder or the run ends
    // (empty). The destination of the first written file not found there as
    // written, else null.
    const std::string* unlistedFailure(std::string_view nextDestination);

    // Gives the folders of folder entries their permissions, deepest first,
    // so a folder stored without write permission still took what the run
    // put in it. Runs once, however the run ended.
    void applyFolderPermissions();

    // Folder entries made so far.
    int foldersMade() const { return foldersMade_; }

private:
    struct FileId {
        dev_t device;
        ino_t inode;
        bool operator==(const FileId& other) const
        {
            return device == other.device && inode == other.inode;
        }
    };
    struct FileIdHash {
        std::size_t operator()(const FileId& id) const
        {
            return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) << 1);
        }
    };
    // Paths are looked up as views into the entry's path, not copied out of it.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>()(text);
        }
    };

    Verdict ensureFolder(std::string_view folder);
    // prepareFile of the entry in work, but for the record of what it leaves pending.
    Verdict clearPath();
    // The entry in work, taken up when `destination` is not its path.
    struct InWork;
    InWork& inWork(const std::string& destination)
    {
        return destination == work_.path && !work_.path.empty() ? work_ : takeUp(destination);
    }
    InWork& takeUp(const std::string& destination);
    bool workFolderKnown();
    // Whether the file system of the entry in work's folder takes its name.
    bool workNameHeld();
    // Whether nothing can stand at the entry in work's name: the run made its
    // folder, and the name is plain and folds together with nothing made in it.
    bool knownFree();
    // The names made in the entry in work's folder when the run made it, else null.
    KeySet* madeInWork();
    // The names made in `folder` when the run made it, else null.
    KeySet* namesMadeIn(std::string_view folder);
    // `made` is namesMadeIn(folder); `key` the new name's foldedKey.
    void addMade(std::string_view folder, KeySet* made, std::uint64_t key);
    // A file cleared in a made folder whose write was not recorded may have
    // left something there: that folder is asked from then on.
    void settlePending();
    // Something stands at `path` that this run did not make under that name:
    // the file system took the name for another one (letter case, trailing
    // blanks) when the folder's listing lacks it.
    Verdict foldedName(std::string_view path, const std::string& folder);
    bool listed(const std::string& folder, const std::string& name);
    void addToListing(std::string_view folder, std::string_view name);
    Verdict checkFolder(const std::string& folder, const std::string& parent);
    Verdict rememberFolder(const std::string& folder, const FileId& id);
    // Whether the file system of a folder already checked takes a name that
    // long, and the longest it takes.
    bool nameHeld(std::string_view name, std::string_view knownFolder);
    std::size_t nameLimit(std::string_view knownFolder);
    std::string belowTarget(std::string_view path) const;
    bool known(std::string_view folder) const;
    // The folder of the entry in work is held open, so each name in it is
    // looked up alone, not along the whole path; AT_FDCWD when it cannot be
    // opened (the full path is used then).
    int heldFolder(std::string_view folder);
    // Where the entry in work's path is asked: its known folder held open and
    // its name, or AT_FDCWD and the whole path.
    struct Place {
        int folder;
        const char* name;
    };
    Place placeOf();
    // The answer of exists() serves the check that follows it for that path.
    bool lookUp(const Place& place, struct stat& status);
    // A copy of `text` in the records' arena, for as long as the records last.
    std::string_view kept(std::string_view text);
    dev_t workDevice();

    std::string targetFolder_;
    std::string targetPrefix_; // the target with its trailing "/"
    mode_t umask_ = 022;
    // The records that grow by one with every entry are kept in one arena,
    // given back whole when the run's records go: a run of many small entries
    // neither allocates nor frees each record alone.
    std::pmr::monotonic_buffer_resource records_;
    std::unordered_map<std::string, FileId, TextHash, std::equal_to<>> folders_;
    std::unordered_map<FileId, std::string, FileIdHash> folderNames_;
    // Files and links made, by identity and by path, with the entry that made
    // them. Identities alone do not do: FUSE file systems give a new inode
    // number to every name they are asked for.
    struct Written {
        FileId id;
        std::string_view path;
        // The entry's name where it is not the path below the target, else empty.
        std::string_view entry;
    };
    std::string entryOf(const Written& written) const;
    Written* keep(const Written& written);
    // The record of the entry in work's path, new to the run, as `id`.
    Written* keepWorkPath(const FileId& id, const std::string& entry);
    static std::uint64_t hashOf(const FileId& id);
    const Written* writtenAs(const FileId& id) const;
    Written* writtenAt(std::string_view path);
    struct IdHash {
        std::uint64_t operator()(const Written& written) const { return hashOf(written.id); }
    };
    struct PathHash {
        std::uint64_t operator()(const Written& written) const { return TextHash()(written.path); }
    };
    RecordIndex<Written, IdHash> byId_{&records_};
    // Every path written, in order. The index by path takes in those it
    // lacks when a path is looked up, which a run into folders it made
    // never does: there each path is known to be new before it is written.
    std::pmr::vector<Written*> paths_{&records_};
    RecordIndex<Written, PathHash> byPath_{&records_};
    std::size_t pathsIndexed_ = 0;
    // Folders the run made, with the names made in each as a case-folding
    // file system takes them (hashed).
    std::unordered_map<std::string, KeySet, TextHash, std::equal_to<>> madeFolders_;
    // Counts the changes to madeFolders_, so that the entry in work's answer
    // from it is looked up again only after one.
    std::uint64_t madeSerial_ = 1;
    // The entry whose path exists, prepareFile and recordWritten were asked
    // about last: its path split once and its name keyed once for all their
    // checks, and what is known of its folder, kept while the entries that
    // follow are in the same folder.
    struct InWork {
        std::string path;
        std::string_view folder; // both views into path
        std::string_view name;
        std::uint64_t key = 0; // foldedKey(name)
        bool inTarget = false; // the path is below the target
        // exists() asked: its answer serves the check that follows it, and
        // was given by the record (free) or the file system (found, status).
        bool lookedUp = false;
        bool lookedUpFree = false;
        bool lookedUpFound = false;
        struct stat lookedUpStatus {};
        // Cleared as a path no earlier entry wrote, until it is recorded.
        bool clearedNew = false;
        // Cleared in a folder the run made, until its write is recorded.
        bool pending = false;
        // The folder is known; it is the one held open.
        bool known = false;
        bool held = false;
        std::size_t limit = 0; // its longest name, 0 until asked
        bool deviceKnown = false;
        dev_t device = 0;
        // namesMadeIn(folder), as of madeSerial_ == madeSerial.
        KeySet* made = nullptr;
        std::uint64_t madeSerial = 0;
    };
    InWork work_;
    // Files written into one folder the run made whose check waits for the
    // folder's listing: after each write, a look at its path would cost as
    // much as a sixth of the library's own work on a small file.
    struct Unlisted {
        Written* record; // its identity is filled in from the listing
        std::string_view name;
        std::uint64_t key; // foldedKey(name), never 0 here
        std::uint64_t size;
        bool sizeKnown;
        bool listed = false;
        ino_t inode = 0;
        unsigned char type = 0; // the listing's d_type
    };
    std::vector<Unlisted> unlisted_;
    std::string unlistedFolder_;
    std::unordered_set<std::string, TextHash, std::equal_to<>> listedFolders_;
    dev_t unlistedDevice_ = 0;
    std::string lateFailure_;
    // Checks the unlisted files against their folder's listing and records
    // their identities; the first that fails goes to lateFailure_.
    void settleUnlisted();
    void listUnlisted();
    // An unlisted file checked by a look at its own path.
    bool checkAlone(Unlisted& file);
    // The record an earlier entry left with `record`'s identity; else null,
    // and `record` is filed under it.
    const Written* earlierWithId(Written* record);
    // Whether the library leaves the wanted mode on a new file of a stored
    // mode on a device, learned from the first such file the run checks
    // alone; a run meets a few stored modes, and only so many are kept.
    struct ModeRule {
        dev_t device;
        std::uint64_t storedMode;
        bool leavesWanted;
    };
    std::vector<ModeRule> modeRules_;
    const ModeRule* modeRule(dev_t device, std::uint64_t storedMode) const;
    void learnMode(dev_t device, std::uint64_t storedMode, bool leavesWanted);
    // Names in a folder, read once the first time a name there is met that
    // already exists.
    std::unordered_map<std::string, std::unordered_set<std::string>> listings_;
    std::unordered_set<std::string> linksMade_;
    std::unordered_map<dev_t, std::size_t> nameMax_;
    std::vector<std::pair<std::string, mode_t>> folderPermissions_;
    int foldersMade_ = 0;
    int heldFd_ = -1;
    std::string heldPath_;
};

// A write to the folder holding `destination` failed for want of space: the
// failing call's error number says so, or the volume has less room left than
// the entry needs.
bool VolumeFull(const std::string& destination, uint64_t entrySize, int writeErrno);
