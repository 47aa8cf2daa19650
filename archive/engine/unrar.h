#pragma once

#include "archive/un_base.h"

#include <cstdint>
#include <memory>
#include <string>

struct RarHeader;
class TargetFolder;

// The RAR member of the archive components. Walks the archive through the
// bound RAR library, extracts each entry that matches FileSpec to its
// destination path and reports through the component events. One run at a
// time in the whole process: an Extract during a run returns at once.
class TUnRAR : public TUnBase {
public:
    explicit TUnRAR(TComponent* owner);
    ~TUnRAR() override;

    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& password) { password_ = password; }

    // True while some TUnRAR is extracting.
    static bool RunInProgress();

    // The last run ended early on a failure that every later entry would
    // meet too (its one OnError named the cause): the archive is not installed.
    bool RunFailed() const { return runFailed_; }
    // Folders the last run made for the archive's folder entries. They fire
    // no events, so an archive of folders only is told by this count.
    int FoldersMade() const { return foldersMade_; }

protected:
    void ExtractArchive() override;

private:
    void run(int operation, std::string archiveName);
    void checkPreconditions();
    void walkArchive(int operation, std::string& archiveName);
    // The header loop; answers the last header read result.
    int walkEntries(void* archive, int operation);
    // `plainName`: the stored name holds no wildcards.
    void handleEntry(void* archive, int operation, const RarHeader& header, bool wildcard,
                     bool plainName);
    void skipEntry(void* archive);
    bool acceptPassword(void* archive, const std::string& storedName);
    void refuseEntry(void* archive, int32_t code, const std::string& reportedName);
    void endIfUnlistedFailed(std::string_view nextDestination);
    void makeFolderEntry(void* archive, int operation, const RarHeader& header,
                         const std::string& storedName);
    void extractEntry(void* archive, int operation, const RarHeader& header,
                      const std::string& storedName);
    bool writtenAsStored(const RarHeader& header, const std::string& storedName);
    // The extraction folder handed to the library, not the entry's own: the
    // library judges links against this folder, and a link may climb out of
    // its own subfolder. Built once for each ExtractDir.
    std::string& libraryFolder()
    {
        if (libraryFolderOf_ != ExtractDirChanges())
            takeUpLibraryFolder();
        return libraryFolder_;
    }
    void takeUpLibraryFolder();
    TargetFolder& target()
    {
        if (!target_)
            makeTarget();
        return *target_;
    }
    void makeTarget();
    void finishTarget();
    void fireEnd(bool crcPass);

    // Ends the run at once for a failure that every later entry would meet
    // too: one OnError naming `name` with `code`, then E_RAISE; no OnEnd.
    [[noreturn]] void failRun(const std::string& name, int32_t code);
    // Ends the run naming the volume the library could not find, if any.
    void endIfVolumeMissing();
    // The target folder as the user named it, for messages.
    std::string targetFolder() const;

    std::string password_;
    std::string archiveName_;
    bool runFailed_ = false;
    // What the run in progress made in the target folder.
    std::unique_ptr<TargetFolder> target_;
    int foldersMade_ = 0;
    std::string libraryFolder_;
    // The ExtractDirChanges() libraryFolder_ was built at; none at first.
    uint64_t libraryFolderOf_ = UINT64_MAX;
    // The entry in work's stored name and its path as handed to the library,
    // kept across entries so that none allocates them anew.
    std::string storedName_;
    std::string destName_;
};
