// The test-archive writer: its bytes follow the RAR 4 stored layout, folders
// are read as the demo build needs them, and rarwrite maps its options.

#include "base/little_endian.h"
#include "tests/support/temp_folder.h"
#include "tools/rar_writer/rar_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zk::rarwriter {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t crcOf(const Bytes& b, std::size_t from, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, b.data() + from, static_cast<uInt>(size)));
}

struct FileHeader {
    std::size_t at;
    unsigned flags;
    unsigned size;
    std::uint32_t packSize, unpSize, crc, time, attr;
    unsigned host, version, method;
    std::string name;
    std::string data;
};

// Reads the file header that starts at `at`, checking its header CRC.
FileHeader parseFileHeader(const Bytes& b, std::size_t at)
{
    FileHeader h{};
    h.at = at;
    EXPECT_EQ(b.at(at + 2), 0x74);
    h.flags = ReadLe16(&b[at + 3]);
    h.size = ReadLe16(&b[at + 5]);
    EXPECT_EQ(crcOf(b, at + 2, h.size - 2) & 0xFFFF, ReadLe16(&b[at]));
    h.packSize = ReadLe32(&b[at + 7]);
    h.unpSize = ReadLe32(&b[at + 11]);
    h.host = b[at + 15];
    h.crc = ReadLe32(&b[at + 16]);
    h.time = ReadLe32(&b[at + 20]);
    h.version = b[at + 24];
    h.method = b[at + 25];
    const unsigned nameSize = ReadLe16(&b[at + 26]);
    h.attr = ReadLe32(&b[at + 28]);
    h.name.assign(b.begin() + static_cast<std::ptrdiff_t>(at + 32),
                  b.begin() + static_cast<std::ptrdiff_t>(at + 32 + nameSize));
    EXPECT_EQ(h.size, 32 + nameSize);
    const std::size_t dataAt = at + h.size;
    h.data.assign(b.begin() + static_cast<std::ptrdiff_t>(dataAt),
                  b.begin() + static_cast<std::ptrdiff_t>(dataAt + h.packSize));
    return h;
}

TEST(RarWriter, WritesMarkerMainHeaderEntriesAndEndBlock)
{
    Entry text{"dir/a.txt", "hello", false, Host::Unix, std::nullopt, 0x5A8C6B25, false};
    Entry folder{"dir", "", true, Host::Windows, std::nullopt, 0, false};
    Entry secret{"s", "xyz", false, Host::Windows, 0x21u, 0, true};
    const Bytes b = buildArchive({text, folder, secret});

    const Bytes marker = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
    ASSERT_GT(b.size(), 20u + 7u);
    EXPECT_TRUE(std::equal(marker.begin(), marker.end(), b.begin()));
    EXPECT_EQ(b[9], 0x73);
    EXPECT_EQ(ReadLe16(&b[12]), 13u);
    EXPECT_EQ(crcOf(b, 9, 11) & 0xFFFF, ReadLe16(&b[7]));

    const FileHeader first = parseFileHeader(b, 20);
    EXPECT_EQ(first.flags, 0x8000u);
    EXPECT_EQ(first.packSize, 5u);
    EXPECT_EQ(first.unpSize, 5u);
    EXPECT_EQ(first.host, 3u);
    EXPECT_EQ(first.crc, crcOf(Bytes(text.data.begin(), text.data.end()), 0, 5));
    EXPECT_EQ(first.time, 0x5A8C6B25u);
    EXPECT_EQ(first.version, 20u);
    EXPECT_EQ(first.method, 0x30u);
    EXPECT_EQ(first.attr, 0100644u);
    EXPECT_EQ(first.name, "dir/a.txt");
    EXPECT_EQ(first.data, "hello");

    const FileHeader second = parseFileHeader(b, first.at + first.size + first.packSize);
    EXPECT_EQ(second.flags, 0x80E0u);
    EXPECT_EQ(second.host, 2u);
    EXPECT_EQ(second.attr, 0x10u);
    EXPECT_EQ(second.packSize, 0u);

    const FileHeader third = parseFileHeader(b, second.at + second.size);
    EXPECT_EQ(third.flags, 0x8004u);
    EXPECT_EQ(third.attr, 0x21u);

    const Bytes end = {0xC4, 0x3D, 0x7B, 0x00, 0x40, 0x07, 0x00};
    EXPECT_EQ(third.at + third.size + third.packSize + end.size(), b.size());
    EXPECT_TRUE(std::equal(end.begin(), end.end(), b.end() - 7));
}

TEST(RarWriter, WindowsNamesUseBackslashes)
{
    const Bytes b = buildArchive({Entry{"a/b/c.txt", "x", false, Host::Windows, {}, 0, false}});
    EXPECT_EQ(parseFileHeader(b, 20).name, "a\\b\\c.txt");
}

TEST(RarWriter, DosTimesOfUnixTimes)
{
    setenv("TZ", "UTC", 1);
    tzset();
    const std::vector<std::pair<std::time_t, std::uint32_t>> cases = {
        {315532800, 0x00210000},  // 1980-01-01 00:00:00
        {0, 0x00210000},          // before 1980: the first DOS day
        {1744464311, 0x5A8C6B25}, // 2025-04-12 13:25:11, seconds halved
        {951782400, 0x285D0000},  // 2000-02-29
    };
    for (const auto& [unixTime, dos] : cases)
        EXPECT_EQ(dosTimeFromUnix(unixTime), dos) << unixTime;
}

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

TEST(RarWriter, FolderEntriesAreSortedRelativeWithModesTimesAndLinks)
{
    TempFolder tmp;
    const fs::path src = tmp.path() / "payload";
    fs::create_directories(src / "sub");
    writeText(src / "b.txt", "bee");
    writeText(src / "sub" / "run.sh", "#!/bin/sh\n");
    chmod((src / "sub" / "run.sh").c_str(), 0755);
    fs::create_symlink("b.txt", src / "a-link");
    const struct timespec times[2] = {{1744464310, 0}, {1744464310, 0}};
    utimensat(AT_FDCWD, (src / "b.txt").c_str(), times, 0);

    const std::vector<Entry> unix = entriesFromDirectory(src.string(), Host::Unix);
    ASSERT_EQ(unix.size(), 4u);
    EXPECT_EQ(unix[0].name, "a-link");
    EXPECT_EQ(unix[0].data, "b.txt");
    EXPECT_EQ(*unix[0].attr & 0170000, 0120000u);
    EXPECT_EQ(unix[1].name, "b.txt");
    EXPECT_EQ(unix[1].data, "bee");
    EXPECT_EQ(unix[1].dosTime, dosTimeFromUnix(1744464310));
    EXPECT_EQ(unix[2].name, "sub");
    EXPECT_TRUE(unix[2].isFolder);
    EXPECT_EQ(unix[3].name, "sub/run.sh");
    EXPECT_EQ(*unix[3].attr, 0100755u);

    fs::remove(src / "a-link");
    chmod((src / "b.txt").c_str(), 0444);
    const std::vector<Entry> windows = entriesFromDirectory(src.string(), Host::Windows);
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(*windows[0].attr, 0x21u);
    EXPECT_EQ(*windows[1].attr, 0x10u);
    EXPECT_EQ(*windows[2].attr, 0x20u);
}

std::string readBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int runRarwrite(const std::string& arguments)
{
    const std::string command =
        std::string(std::getenv("ZK_BIN_DIR")) + "/rarwrite " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Rarwrite, CommandLineEntriesMatchTheLibrarysArchive)
{
    TempFolder tmp;
    writeText(tmp.path() / "source.bin", "from a file");
    const fs::path out = tmp.path() / "out.rar";
    ASSERT_EQ(runRarwrite("--host windows --folder docs --attr 0x21 --time 0x5A8C6B25 --text "
                          "docs/a.txt hello --encrypted --file b.bin '" +
                          (tmp.path() / "source.bin").string() + "' '" + out.string() + "'"),
              0);
    Entry folder{"docs", "", true, Host::Windows, {}, 0, false};
    Entry text{"docs/a.txt", "hello", false, Host::Windows, 0x21u, 0x5A8C6B25, false};
    Entry file{"b.bin", "from a file", false, Host::Windows, {}, 0, true};
    const Bytes expected = buildArchive({folder, text, file});
    EXPECT_EQ(readBytes(out), std::string(expected.begin(), expected.end()));
}

TEST(Rarwrite, FromDirWritesTheFoldersEntries)
{
    TempFolder tmp;
    fs::create_directories(tmp.path() / "payload" / "x");
    writeText(tmp.path() / "payload" / "x" / "y.txt", "why");
    const fs::path out = tmp.path() / "demo.rar";
    ASSERT_EQ(runRarwrite("--host unix --from-dir '" + (tmp.path() / "payload").string() + "' '" +
                          out.string() + "'"),
              0);
    const Bytes expected =
        buildArchive(entriesFromDirectory((tmp.path() / "payload").string(), Host::Unix));
    EXPECT_EQ(readBytes(out), std::string(expected.begin(), expected.end()));
}

TEST(Rarwrite, BadCommandLinesAreRefused)
{
    TempFolder tmp;
    const std::string out = "'" + (tmp.path() / "o.rar").string() + "'";
    EXPECT_EQ(runRarwrite(""), 2);
    EXPECT_EQ(runRarwrite(out), 2);
    EXPECT_EQ(runRarwrite("--host amiga --text a b " + out), 2);
    EXPECT_EQ(runRarwrite("--attr twelve --text a b " + out), 2);
    EXPECT_EQ(runRarwrite("--bogus " + out), 2);
    EXPECT_EQ(runRarwrite("--file a /nonexistent/source " + out), 1);
    EXPECT_FALSE(fs::exists(tmp.path() / "o.rar"));
}

} // namespace
} // namespace zk::rarwriter
