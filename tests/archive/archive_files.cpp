#include "tests/archive/archive_files.h"

#include "base/little_endian.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace archive_files {

Bytes FromText(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

void Append(Bytes& to, const Bytes& what)
{
    to.insert(to.end(), what.begin(), what.end());
}

void PutLe16(Bytes& to, size_t at, uint16_t value)
{
    if (to.size() < at + 2)
        to.resize(at + 2);
    WriteLe16(&to[at], value);
}

void PutLe32(Bytes& to, size_t at, uint32_t value)
{
    if (to.size() < at + 4)
        to.resize(at + 4);
    WriteLe32(&to[at], value);
}

Bytes OldStyleExecutable(uint32_t imageEnd)
{
    Bytes image(std::max<uint32_t>(imageEnd, 64), 0);
    image[0] = 'M';
    image[1] = 'Z';
    PutLe16(image, 2, static_cast<uint16_t>(imageEnd % 512));
    PutLe16(image, 4, static_cast<uint16_t>(imageEnd == 0 ? 0 : imageEnd / 512 + 1));
    return image;
}

Bytes ExecutableWithStrings(const std::vector<std::string>& strings)
{
    constexpr uint32_t kPe = 0x40;
    constexpr uint32_t kOptional = kPe + 24;
    constexpr uint32_t kSections = kOptional + 224;
    constexpr uint32_t kRaw = 0x200;
    constexpr uint32_t kRva = 0x1000;

    // Resource tree: root -> type 6 -> block 1 -> language 0 -> data entry.
    Bytes rsrc(0x58, 0);
    PutLe16(rsrc, 0x00 + 14, 1);
    PutLe32(rsrc, 0x10, 6);
    PutLe32(rsrc, 0x14, 0x80000000u | 0x18);
    PutLe16(rsrc, 0x18 + 14, 1);
    PutLe32(rsrc, 0x28, 1);
    PutLe32(rsrc, 0x2C, 0x80000000u | 0x30);
    PutLe16(rsrc, 0x30 + 14, 1);
    PutLe32(rsrc, 0x40, 0);
    PutLe32(rsrc, 0x44, 0x48);
    Bytes block;
    for (size_t id = 0; id < 16; ++id) {
        const std::string text = id < strings.size() ? strings[id] : std::string();
        PutLe16(block, block.size(), static_cast<uint16_t>(text.size()));
        for (const char c : text)
            PutLe16(block, block.size(), static_cast<uint8_t>(c));
    }
    PutLe32(rsrc, 0x48, kRva + 0x58);
    PutLe32(rsrc, 0x4C, static_cast<uint32_t>(block.size()));
    Append(rsrc, block);

    Bytes image(kRaw, 0);
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, 0x3C, kPe);
    PutLe32(image, kPe, 0x00004550u);
    PutLe16(image, kPe + 4, 0x14C);
    PutLe16(image, kPe + 6, 1);
    PutLe16(image, kPe + 20, 224);
    PutLe16(image, kOptional, 0x10B);
    PutLe32(image, kOptional + 92, 16);
    PutLe32(image, kOptional + 96 + 16, kRva);
    PutLe32(image, kOptional + 96 + 20, static_cast<uint32_t>(rsrc.size()));
    const std::string name = ".rsrc";
    std::copy(name.begin(), name.end(), image.begin() + kSections);
    PutLe32(image, kSections + 8, static_cast<uint32_t>(rsrc.size()));
    PutLe32(image, kSections + 12, kRva);
    PutLe32(image, kSections + 16, static_cast<uint32_t>(rsrc.size()));
    PutLe32(image, kSections + 20, kRaw);
    Append(image, rsrc);
    return image;
}

Bytes ZipArchive(uint32_t base)
{
    Bytes zip = FromText("PK\x03\x04");
    zip.resize(30, 0);
    PutLe16(zip, 26, 1);
    Append(zip, FromText("a"));
    const auto directory = static_cast<uint32_t>(zip.size());
    Bytes entry = FromText("PK\x01\x02");
    entry.resize(46, 0);
    PutLe16(entry, 28, 1);
    PutLe32(entry, 42, base);
    Append(entry, FromText("a"));
    Append(zip, entry);
    Bytes end = FromText("PK\x05\x06");
    end.resize(22, 0);
    PutLe16(end, 8, 1);
    PutLe16(end, 10, 1);
    PutLe32(end, 12, static_cast<uint32_t>(entry.size()));
    PutLe32(end, 16, base + directory);
    Append(zip, end);
    return zip;
}

Bytes TarHeader(char typeFlag)
{
    Bytes block(512, 0);
    const std::string name = "file.txt";
    std::copy(name.begin(), name.end(), block.begin());
    block[156] = static_cast<uint8_t>(typeFlag);
    unsigned sum = 0;
    for (size_t i = 0; i < block.size(); ++i)
        sum += i >= 148 && i < 156 ? ' ' : block[i];
    char text[8];
    std::snprintf(text, sizeof text, "%06o", sum);
    std::copy(text, text + 7, block.begin() + 148);
    return block;
}

std::string WriteBytes(const std::filesystem::path& file, const Bytes& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return file.string();
}

} // namespace archive_files
