#pragma once

#include "archive/arc_type.h"
#include "archive/archive_component.h"
#include "archive/e_raise.h"
#include "archive/events.h"
#include "archive/file_attr_set.h"
#include "archive/message_table.h"

#include <cstdint>
#include <memory>
#include <string>

// The progress step: 5 x (ordinal + 1) per cent.
enum class TProgressNotify : uint8_t { Five, Ten, Fifteen, Twenty, TwentyFive };

inline constexpr uint8_t ProgressStepPercent(TProgressNotify notify)
{
    return static_cast<uint8_t>(5 * (static_cast<int>(notify) + 1));
}

// State and rules that every archive component shares: the archive and its
// detected type, the target folder, the entry selection, the cancel request,
// the events and the numbered error model.
class TZipCommon : public TArchiveComponent {
public:
    explicit TZipCommon(TComponent* owner);
    ~TZipCommon() override;
    void AfterLoad() override;

    // Returns the archive path and withdraws a pending cancel request.
    std::string ArchiveFile();
    // Stores the path (separators normalised), detects its type and makes its
    // existing folder the current directory. Raises E_RAISE when the file
    // cannot be closed after detection.
    virtual void SetArchiveFile(const std::string& name);

    TArcType ArcType() const { return arcType_; }
    // The value is discarded: the type is detected afresh.
    virtual void SetArcType(TArcType value);
    // Where detection found the archive data (-1 when not known).
    int64_t ArchiveOffset() const { return archiveOffset_; }

    const std::string& ExtractDir() const { return extractDir_; }
    void SetExtractDir(const std::string& dir);
    // Counts the SetExtractDir calls: what is built from ExtractDir for every
    // entry is built again only after one, not compared with it.
    uint64_t ExtractDirChanges() const { return extractDirChanges_; }

    const std::string& FileSpec() const { return fileSpec_; }
    void SetFileSpec(const std::string& fileSpec);

    bool UseStoredDirs() const { return useStoredDirs_; }
    void SetUseStoredDirs(bool on) { useStoredDirs_ = on; }

    TProgressNotify ProgressNotify() const { return progressNotify_; }
    void SetProgressNotify(TProgressNotify notify) { progressNotify_ = notify; }

    TFileAttrSet& FileAttributes() { return *fileAttributes_; }

    int32_t CommentAllowance() const { return commentAllowance_; }

    bool Cancel() const { return cancel_; }
    // Stores the flag, then lets pending window messages be processed.
    void SetCancel(bool value);

    // The entry in work; after BuildDestPath its full destination path.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }

    // Sets FileName to the destination path of a stored entry name.
    virtual void BuildDestPath(const std::string& name);
    virtual TDateTime DosDateToDateTime(int32_t packed) const;

    // Sets ArcType from the file named by ArchiveFile.
    void DetectArcType();

    // Fires OnProgress with FileName, then processes pending window messages.
    void DoProgress(uint8_t percent);

    // Fires OnError with the name part of fileName, then raises E with the
    // code's text.
    template <class E = E_RAISE>
    [[noreturn]] void RaiseError(const std::string& fileName, const std::string& volumeId,
                                 int32_t code)
    {
        ReportError(fileName, volumeId, code);
        throw E(MessageText(code));
    }
    // Fires OnError only.
    void ReportError(const std::string& fileName, const std::string& volumeId, int32_t code);

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TOnBegin OnBegin;
    TOnEnd OnEnd;
    TOnFileExists OnFileExists;
    TOnProgress OnProgress;
    TOnNextVolume OnNextVolume;
    TOnGetPassword OnGetPassword;
    TOnError OnError;

private:
    std::string extractDir_;
    uint64_t extractDirChanges_ = 0;
    std::unique_ptr<TFileAttrSet> fileAttributes_;
    TProgressNotify progressNotify_ = TProgressNotify::Five;
    int32_t commentAllowance_ = 0;
    std::string fileSpec_;
    bool useStoredDirs_ = false;
    bool cancel_ = false;
    std::string fileName_;
    std::string archiveFile_;
    TArcType arcType_ = TArcType::atNA;
    int64_t archiveOffset_ = -1;
};
