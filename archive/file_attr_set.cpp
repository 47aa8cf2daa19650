#include "archive/file_attr_set.h"

void TFileAttrSet::Assign(const TFileAttrSet& source)
{
    SetftReadOnly(source.readOnly_);
    SetftHidden(source.hidden_);
    SetftSysFile(source.sysFile_);
    SetftVolumeID(source.volumeID_);
    SetftDirectory(source.directory_);
    SetftArchive(source.archive_);
}

void TFileAttrSet::setBit(int32_t bit, bool on)
{
    mask_ = on ? (mask_ | bit) : (mask_ & ~bit);
}

void TFileAttrSet::SetftReadOnly(bool on)
{
    readOnly_ = on;
    setBit(kReadOnly, on);
}

void TFileAttrSet::SetftHidden(bool on)
{
    hidden_ = on;
    setBit(kHidden, on);
}

void TFileAttrSet::SetftSysFile(bool on)
{
    sysFile_ = on;
    setBit(kSysFile, on);
}

void TFileAttrSet::SetftVolumeID(bool on)
{
    volumeID_ = on;
    setBit(kVolumeID, on);
}

void TFileAttrSet::SetftArchive(bool on)
{
    archive_ = on;
    setBit(kArchive, on);
}
