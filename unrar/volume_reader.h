#pragma once

#include "unrar/end_block.h"
#include "base/file_descriptor.h"
#include "unrar/rar_interface.h"

#include <archive.h>

#include <array>
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

namespace zk::unrar {

// Feeds libarchive the bytes of all volumes of an archive as one stream. At
// the end of a volume whose end block announces another one, it opens the next
// volume (same folder, same naming scheme), telling the caller's volume
// callback, and asking it for a name when that volume is missing. Neither
// copied nor moved: libarchive's callbacks hold its address.
class VolumeReader {
public:
    VolumeReader() = default;
    VolumeReader(const VolumeReader&) = delete;
    VolumeReader& operator=(const VolumeReader&) = delete;

    // Opens the first volume; false when it cannot be opened as a file.
    bool open(const std::string& firstVolume);
    void setChangeVolumeCallback(CHANGEVOLPROC callback) { changeVolume_ = callback; }
    // Called with each volume's number (0 = the first) and name once it is
    // open, on every pass.
    void setVolumeOpenedHook(std::function<void(std::size_t, const std::string&)> hook)
    {
        volumeOpened_ = std::move(hook);
    }

    // Installs this reader's callbacks on `a` and opens it.
    int openArchive(struct archive* a);
    // Goes back to the first volume for a new pass; volumes opened before are
    // opened again by the names they had, without asking or telling.
    bool rewind();

    const std::string& currentVolume() const { return volumeName_; }
    // True once the caller declined a volume (or none could be found).
    bool abandoned() const { return abandoned_; }

private:
    static la_ssize_t readCallback(struct archive*, void* self, const void** buffer);
    static la_int64_t skipCallback(struct archive*, void* self, la_int64_t request);
    static int closeCallback(struct archive*, void* self);

    la_ssize_t read(const void** buffer);
    la_int64_t skip(la_int64_t request);
    la_ssize_t endOfStream(const void** buffer);
    bool moveToNextVolume();
    bool openVolume(const std::string& name);
    void rememberTail(const std::uint8_t* data, std::size_t size);

    FileDescriptor fd_; // of the current volume
    std::string volumeName_;
    la_int64_t volumeSize_ = 0;
    la_int64_t volumePos_ = 0;
    CHANGEVOLPROC changeVolume_ = nullptr;
    std::function<void(std::size_t, const std::string&)> volumeOpened_;
    std::vector<std::string> opened_; // every volume opened so far, in order
    std::size_t index_ = 0;           // of the current volume in opened_
    bool abandoned_ = false;
    std::vector<std::uint8_t> buffer_;
    std::array<std::uint8_t, kEndBlockSearch> tail_{};
    std::size_t tailSize_ = 0;
    bool rar5_ = false;   // the volume read last begins with the RAR 5 marker
    bool padded_ = false; // the zeros after the last volume were served
};

} // namespace zk::unrar
