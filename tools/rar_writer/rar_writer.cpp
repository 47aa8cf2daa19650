#include "tools/rar_writer/rar_writer.h"

#include "base/little_endian.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

namespace zk::rarwriter {
namespace {

constexpr std::uint8_t kMarker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
constexpr std::uint8_t kTypeMain = 0x73;
constexpr std::uint8_t kTypeFile = 0x74;
constexpr std::uint8_t kTypeEnd = 0x7B;
constexpr std::uint16_t kFlagLongBlock = 0x8000;
constexpr std::uint16_t kFlagSkipIfUnknown = 0x4000;
constexpr std::uint16_t kFlagFolder = 0x00E0;
constexpr std::uint16_t kFlagPassword = 0x0004;
constexpr std::uint16_t kFlagSplitBefore = 0x0001;
constexpr std::uint16_t kFlagSplitAfter = 0x0002;
constexpr std::uint16_t kMainVolume = 0x0001;
constexpr std::uint16_t kMainNewNumbering = 0x0010;
constexpr std::uint16_t kMainFirstVolume = 0x0100;
constexpr std::uint16_t kEndNextVolume = 0x0001;
constexpr std::size_t kFileHeaderFixed = 32;
constexpr std::size_t kEndBlockSize = 7;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.resize(out.size() + 2);
    WriteLe16(&out[out.size() - 2], static_cast<std::uint16_t>(v));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.resize(out.size() + 4);
    WriteLe32(&out[out.size() - 4], v);
}

std::uint32_t crc32Of(const void* data, std::size_t size)
{
    return static_cast<std::uint32_t>(
        crc32(0, static_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

// body starts at HEAD_TYPE; the block gets its CRC and is appended to out.
void appendBlock(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& body)
{
    put16(out, crc32Of(body.data(), body.size()) & 0xFFFF);
    out.insert(out.end(), body.begin(), body.end());
}

std::vector<std::uint8_t> blockBody(std::uint8_t type, std::uint16_t flags)
{
    std::vector<std::uint8_t> body{type};
    put16(body, flags);
    put16(body, 0); // HEAD_SIZE, patched once the body is complete
    return body;
}

void patchSize(std::vector<std::uint8_t>& body)
{
    const std::size_t size = body.size() + 2;
    if (size > 0xFFFF)
        throw std::runtime_error("entry header too long");
    WriteLe16(&body[3], static_cast<std::uint16_t>(size));
}

std::string storedName(const Entry& entry)
{
    std::string name = entry.name;
    if (entry.host == Host::Windows)
        std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

// The part of an entry's data that one volume holds: [begin, end) of its bytes.
struct Part {
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::size_t fileHeaderSize(const Entry& entry)
{
    return kFileHeaderFixed + storedName(entry).size();
}

// A file header and the part's data. A part that is not the file's last
// carries the CRC of its own data, the last one the CRC of the whole file.
void appendEntry(std::vector<std::uint8_t>& out, const Entry& entry, Part part)
{
    if (entry.data.size() > 0xFFFFFFFFu)
        throw std::runtime_error("entry too large: " + entry.name);
    const bool splitBefore = part.begin > 0;
    const bool splitAfter = part.end < entry.data.size();
    std::uint16_t flags = kFlagLongBlock;
    if (entry.isFolder)
        flags |= kFlagFolder;
    if (entry.encrypted)
        flags |= kFlagPassword;
    if (splitBefore)
        flags |= kFlagSplitBefore;
    if (splitAfter)
        flags |= kFlagSplitAfter;
    const std::string name = storedName(entry);
    const char* partData = entry.data.data() + part.begin;
    const std::size_t partSize = part.end - part.begin;

    std::vector<std::uint8_t> body = blockBody(kTypeFile, flags);
    put32(body, static_cast<std::uint32_t>(partSize));          // PACK_SIZE: stored, so the part
    put32(body, static_cast<std::uint32_t>(entry.data.size())); // UNP_SIZE
    body.push_back(static_cast<std::uint8_t>(entry.host));
    put32(body,
          splitAfter ? crc32Of(partData, partSize) : crc32Of(entry.data.data(), entry.data.size()));
    put32(body, entry.dosTime);
    body.push_back(20);   // UNP_VER
    body.push_back(0x30); // METHOD: stored
    put16(body, static_cast<std::uint32_t>(name.size()));
    put32(body, entry.attr.value_or(defaultAttr(entry)));
    body.insert(body.end(), name.begin(), name.end());
    patchSize(body);
    appendBlock(out, body);
    out.insert(out.end(), partData, partData + partSize);
}

std::vector<std::uint8_t> volumeStart(std::uint16_t mainFlags)
{
    std::vector<std::uint8_t> out(std::begin(kMarker), std::end(kMarker));
    std::vector<std::uint8_t> mainHeader = blockBody(kTypeMain, mainFlags);
    put16(mainHeader, 0);
    put32(mainHeader, 0);
    patchSize(mainHeader);
    appendBlock(out, mainHeader);
    return out;
}

void appendEndBlock(std::vector<std::uint8_t>& out, bool nextVolume)
{
    std::vector<std::uint8_t> body =
        blockBody(kTypeEnd, kFlagSkipIfUnknown | (nextVolume ? kEndNextVolume : 0));
    patchSize(body);
    appendBlock(out, body);
}

} // namespace

std::uint32_t defaultAttr(const Entry& entry)
{
    if (entry.host == Host::Windows)
        return entry.isFolder ? 0x10 : 0x20;
    return entry.isFolder ? 040755 : 0100644;
}

std::uint32_t dosTimeFromUnix(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    if (local.tm_year < 80)
        return (1u << 5 | 1u) << 16;
    const std::uint32_t date = static_cast<std::uint32_t>(local.tm_year - 80) << 9 |
                               static_cast<std::uint32_t>(local.tm_mon + 1) << 5 |
                               static_cast<std::uint32_t>(local.tm_mday);
    const std::uint32_t time = static_cast<std::uint32_t>(local.tm_hour) << 11 |
                               static_cast<std::uint32_t>(local.tm_min) << 5 |
                               static_cast<std::uint32_t>(local.tm_sec / 2);
    return date << 16 | time;
}

std::vector<std::uint8_t> buildArchive(const std::vector<Entry>& entries)
{
    std::vector<std::uint8_t> out = volumeStart(0);
    for (const Entry& entry : entries)
        appendEntry(out, entry, Part{0, entry.data.size()});
    appendEndBlock(out, false);
    return out;
}

std::vector<std::vector<std::uint8_t>> buildVolumes(const std::vector<Entry>& entries,
                                                    std::size_t volumeSize)
{
    std::vector<std::vector<std::uint8_t>> volumes;
    volumes.push_back(volumeStart(kMainVolume | kMainNewNumbering | kMainFirstVolume));
    const std::size_t emptyVolume = volumes.back().size() + kEndBlockSize;
    auto room = [&] { return volumeSize - volumes.back().size() - kEndBlockSize; };
    auto nextVolume = [&] {
        appendEndBlock(volumes.back(), true);
        volumes.push_back(volumeStart(kMainVolume | kMainNewNumbering));
    };
    for (const Entry& entry : entries) {
        const std::size_t header = fileHeaderSize(entry);
        if (volumeSize < emptyVolume + header + 1)
            throw std::runtime_error("volume size too small for " + entry.name);
        std::size_t done = 0;
        do {
            if (room() < header + (entry.data.size() > done ? 1 : 0))
                nextVolume();
            const std::size_t part = std::min(entry.data.size() - done, room() - header);
            appendEntry(volumes.back(), entry, Part{done, done + part});
            done += part;
        } while (done < entry.data.size());
    }
    appendEndBlock(volumes.back(), false);
    return volumes;
}

namespace {

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

void writeArchive(const std::string& path, const std::vector<Entry>& entries)
{
    writeBytes(path, buildArchive(entries));
}

std::vector<std::string> writeVolumes(const std::string& path, const std::vector<Entry>& entries,
                                      std::size_t volumeSize)
{
    const std::vector<std::vector<std::uint8_t>> volumes = buildVolumes(entries, volumeSize);
    const std::size_t width = std::to_string(volumes.size()).size();
    std::string base = path;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".rar") == 0)
        base.resize(base.size() - 4);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        std::string number = std::to_string(i + 1);
        number.insert(0, width - number.size(), '0');
        names.push_back(base);
        names.back().append(".part").append(number).append(".rar");
        writeBytes(names.back(), volumes[i]);
    }
    return names;
}

namespace {

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad() || !file.is_open())
        throw std::runtime_error("cannot read " + path.string());
    return data;
}

std::uint32_t windowsAttr(const struct stat& st)
{
    std::uint32_t attr = S_ISDIR(st.st_mode) ? 0x10 : 0x20;
    if (!(st.st_mode & S_IWUSR))
        attr |= 0x01;
    return attr;
}

} // namespace

std::vector<Entry> entriesFromDirectory(const std::string& dir, Host host)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> paths;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir))
        paths.push_back(item.path());
    std::sort(paths.begin(), paths.end());

    std::vector<Entry> entries;
    for (const fs::path& path : paths) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            throw std::runtime_error("cannot read " + path.string());
        Entry entry;
        entry.name = path.lexically_relative(dir).generic_string();
        entry.host = host;
        entry.isFolder = S_ISDIR(st.st_mode);
        entry.dosTime = dosTimeFromUnix(st.st_mtime);
        if (S_ISLNK(st.st_mode)) {
            if (host == Host::Windows)
                throw std::runtime_error("links need a Unix host: " + path.string());
            entry.data = fs::read_symlink(path).string();
        } else if (S_ISREG(st.st_mode)) {
            entry.data = readFile(path);
        } else if (!entry.isFolder) {
            throw std::runtime_error("not a file or folder: " + path.string());
        }
        entry.attr = host == Host::Unix ? static_cast<std::uint32_t>(st.st_mode) : windowsAttr(st);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace zk::rarwriter
