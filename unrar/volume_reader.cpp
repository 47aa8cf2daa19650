#include "unrar/volume_reader.h"

#include "unrar/volume_names.h"

#include <archive.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace zk::unrar {
namespace {

constexpr std::size_t kReadBlock = 256 * 1024;
// The volume callback's name buffer, as large as callers are promised.
constexpr std::size_t kVolumeNameBuffer = 1024;
constexpr std::uint8_t kRar5Marker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x01, 0x00};
// libarchive looks for the next RAR 5 volume's marker after every end block
// of a volume set by reading this many bytes ahead at once; where fewer are
// left (a last volume of a few hundred bytes) it takes the stream for cut.
constexpr std::size_t kRar5MarkerLookahead = 512;

bool fileExists(const std::string& name)
{
    struct stat st {};
    return stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

bool VolumeReader::open(const std::string& firstVolume)
{
    buffer_.resize(kReadBlock);
    index_ = 0;
    return openVolume(firstVolume);
}

bool VolumeReader::rewind()
{
    if (opened_.empty() || abandoned_)
        return false;
    index_ = 0;
    return openVolume(opened_.front());
}

bool VolumeReader::openVolume(const std::string& name)
{
    FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    fd_ = std::move(fd); // closes the volume before
    volumeName_ = name;
    volumeSize_ = st.st_size;
    volumePos_ = 0;
    tailSize_ = 0;
    padded_ = false;
    if (index_ == opened_.size())
        opened_.push_back(name);
    if (volumeOpened_)
        volumeOpened_(index_, name);
    return true;
}

int VolumeReader::openArchive(struct archive* a)
{
    archive_read_set_read_callback(a, &VolumeReader::readCallback);
    archive_read_set_skip_callback(a, &VolumeReader::skipCallback);
    archive_read_set_close_callback(a, &VolumeReader::closeCallback);
    archive_read_set_callback_data(a, this);
    return archive_read_open1(a);
}

la_ssize_t VolumeReader::readCallback(struct archive*, void* self, const void** buffer)
{
    return static_cast<VolumeReader*>(self)->read(buffer);
}

la_int64_t VolumeReader::skipCallback(struct archive*, void* self, la_int64_t request)
{
    return static_cast<VolumeReader*>(self)->skip(request);
}

int VolumeReader::closeCallback(struct archive*, void*)
{
    return ARCHIVE_OK;
}

void VolumeReader::rememberTail(const std::uint8_t* data, std::size_t size)
{
    if (size >= tail_.size()) {
        std::memcpy(tail_.data(), data + size - tail_.size(), tail_.size());
        tailSize_ = tail_.size();
        return;
    }
    const std::size_t keep = std::min(tailSize_, tail_.size() - size);
    std::memmove(tail_.data(), tail_.data() + tailSize_ - keep, keep);
    std::memcpy(tail_.data() + keep, data, size);
    tailSize_ = keep + size;
}

la_ssize_t VolumeReader::read(const void** buffer)
{
    for (;;) {
        if (!fd_.valid())
            return 0;
        const ssize_t got = ::read(fd_.get(), buffer_.data(), buffer_.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ARCHIVE_FATAL;
        }
        if (got > 0) {
            if (volumePos_ == 0 && static_cast<std::size_t>(got) >= sizeof kRar5Marker)
                rar5_ = std::memcmp(buffer_.data(), kRar5Marker, sizeof kRar5Marker) == 0;
            volumePos_ += got;
            rememberTail(buffer_.data(), static_cast<std::size_t>(got));
            *buffer = buffer_.data();
            return got;
        }
        if (!endBlockAnnouncesNextVolume(tail_.data(), tailSize_))
            return endOfStream(buffer);
        if (!moveToNextVolume()) {
            abandoned_ = true;
            fd_.close();
            return ARCHIVE_FATAL;
        }
    }
}

// Seeks within the current volume only, short of its last bytes so that the
// end block is still read (and seen) at the volume's end.
la_int64_t VolumeReader::skip(la_int64_t request)
{
    if (!fd_.valid())
        return 0;
    const la_int64_t keep = static_cast<la_int64_t>(kEndBlockSearch);
    const la_int64_t room = volumeSize_ - volumePos_ - keep;
    const la_int64_t step = std::min(request, room);
    if (step <= 0 || lseek(fd_.get(), step, SEEK_CUR) < 0)
        return 0;
    volumePos_ += step;
    return step;
}

// Zeros after the last RAR 5 volume give libarchive's look-ahead for another
// marker the bytes it wants; it finds none there and ends as it should.
la_ssize_t VolumeReader::endOfStream(const void** buffer)
{
    if (!rar5_ || padded_)
        return 0;
    padded_ = true;
    std::fill_n(buffer_.begin(), kRar5MarkerLookahead, std::uint8_t{0});
    *buffer = buffer_.data();
    return static_cast<la_ssize_t>(kRar5MarkerLookahead);
}

bool VolumeReader::moveToNextVolume()
{
    ++index_;
    if (index_ < opened_.size())
        return openVolume(opened_[index_]);
    std::string next = nextVolumeName(volumeName_);
    if (next.empty())
        return false;
    std::vector<char> name(std::max(kVolumeNameBuffer, next.size() + 1), '\0');
    while (!fileExists(next)) {
        if (changeVolume_ == nullptr)
            return false;
        std::copy(next.begin(), next.end(), name.begin());
        name[next.size()] = '\0';
        if (changeVolume_(name.data(), RAR_VOL_ASK) == 0)
            return false;
        name.back() = '\0';
        next = name.data();
    }
    std::copy(next.begin(), next.end(), name.begin());
    name[next.size()] = '\0';
    if (changeVolume_ != nullptr && changeVolume_(name.data(), RAR_VOL_NOTIFY) == 0)
        return false;
    return openVolume(next);
}

} // namespace zk::unrar
