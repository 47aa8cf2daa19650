#include "archive/zip_common.h"

#include "archive/detection/detect_arc_type.h"
#include "base/current_directory.h"
#include "base/path_rules.h"
#include "base/process_messages.h"

#include <sys/stat.h>

namespace {

bool isExistingFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TZipCommon::TZipCommon(TComponent* owner) : TArchiveComponent(owner)
{
    useStoredDirs_ = true;
    SetCancel(false);
    fileAttributes_ = std::make_unique<TFileAttrSet>();
}

TZipCommon::~TZipCommon() = default;

void TZipCommon::AfterLoad()
{
    TArchiveComponent::AfterLoad();
    if (fileSpec_.empty())
        fileSpec_ = "*.*";
}

std::string TZipCommon::ArchiveFile()
{
    std::string name = archiveFile_;
    SetCancel(false);
    return name;
}

void TZipCommon::SetArchiveFile(const std::string& name)
{
    archiveFile_ = name.empty() ? name : SlashToBackslash(name);
    if (archiveFile_.empty()) {
        arcType_ = TArcType::atNA;
        archiveOffset_ = -1;
        return;
    }
    SetArcType(arcType_);
    const std::string folder = FolderPart(archiveFile_);
    if (!folder.empty() && isExistingFolder(folder))
        ChangeDirectory(folder);
}

void TZipCommon::SetArcType(TArcType)
{
    DetectArcType();
}

void TZipCommon::DetectArcType()
{
    Detection detection;
    try {
        if (!archiveFile_.empty())
            DetectArchive(archiveFile_, commentAllowance_, detection);
    } catch (...) {
        arcType_ = detection.type;
        archiveOffset_ = detection.archiveOffset;
        throw;
    }
    arcType_ = detection.type;
    archiveOffset_ = detection.archiveOffset;
    if (detection.closeFailed)
        RaiseError(archiveFile_, "0", 25117);
}

void TZipCommon::SetExtractDir(const std::string& dir)
{
    extractDir_ = ExtractDirFor(dir, archiveFile_);
    ++extractDirChanges_;
}

void TZipCommon::SetFileSpec(const std::string& fileSpec)
{
    fileSpec_ = SlashToBackslash(fileSpec);
}

void TZipCommon::SetCancel(bool value)
{
    cancel_ = value;
    ProcessMessages();
}

void TZipCommon::BuildDestPath(const std::string& name)
{
    // Natively a "\" in the name is one of its characters, not a separator.
    if (name.empty()) {
        fileName_.clear();
        return;
    }
    if (extractDir_.empty()) {
        SetExtractDir(FolderPart(archiveFile_));
        if (extractDir_.empty())
            SetExtractDir(CurrentDirectory());
    }
    AssignDestinationPath(fileName_, name, extractDir_, useStoredDirs_);
}

TDateTime TZipCommon::DosDateToDateTime(int32_t packed) const
{
    return ::DosDateToDateTime(packed);
}

void TZipCommon::DoProgress(uint8_t percent)
{
    if (OnProgress)
        OnProgress(this, fileName_, percent);
    ProcessMessages();
}

void TZipCommon::ReportError(const std::string& fileName, const std::string& volumeId, int32_t code)
{
    if (OnError)
        OnError(this, NamePart(fileName), volumeId, code);
}
