#pragma once

#include <cstdint>

// The file attributes an archive operation looks at: five flags that mirror
// their bit in a combined mask, plus a plain directory flag.
class TFileAttrSet {
public:
    static constexpr int32_t kReadOnly = 0x01;
    static constexpr int32_t kHidden = 0x02;
    static constexpr int32_t kSysFile = 0x04;
    static constexpr int32_t kVolumeID = 0x08;
    static constexpr int32_t kDirectory = 0x10;
    static constexpr int32_t kArchive = 0x20;

    TFileAttrSet() = default;

    // Copies the six flags, and with them the mask bits they stand for.
    void Assign(const TFileAttrSet& source);

    bool ftReadOnly() const { return readOnly_; }
    bool ftHidden() const { return hidden_; }
    bool ftSysFile() const { return sysFile_; }
    bool ftVolumeID() const { return volumeID_; }
    bool ftDirectory() const { return directory_; }
    bool ftArchive() const { return archive_; }
    void SetftReadOnly(bool on);
    void SetftHidden(bool on);
    void SetftSysFile(bool on);
    void SetftVolumeID(bool on);
    void SetftDirectory(bool on) { directory_ = on; }
    void SetftArchive(bool on);

    int32_t Mask() const { return mask_; }

private:
    void setBit(int32_t bit, bool on);

    bool readOnly_ = true;
    bool hidden_ = false;
    bool sysFile_ = false;
    bool volumeID_ = false;
    bool directory_ = false;
    bool archive_ = true;
    int32_t mask_ = kArchive | kReadOnly;
};
