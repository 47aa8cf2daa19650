// The archives made by the current archiver (RAR 5), each holding the same
// small game: every path comes out intact, or its entry answers a failure
// code and leaves nothing behind. No run ends early reporting success.

#include "tests/support/rar_samples.h"
#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;

const SampleTree kGame = gameTree();
const std::size_t kEntries = kGame.size();

// Copies the sample, with the later volumes of a volume set.
fs::path copyGame(const std::string& name, const TempFolder& dir)
{
    if (name.find(".part01.") != std::string::npos) {
        copySample("rar5-volumes.part02.rar", dir.path());
        copySample("rar5-volumes.part03.rar", dir.path());
    }
    return copySample(name, dir.path());
}

bool isFile(const std::string& path)
{
    const auto node = kGame.find(path);
    return node != kGame.end() && node->second.kind == SampleNode::File;
}

// Every file with its contents, every link and folder, below `out`; `except`
// must be absent instead.
void expectGame(const fs::path& out, const std::string& except = {})
{
    for (const auto& [path, node] : kGame) {
        SCOPED_TRACE(path);
        const fs::file_status status = fs::symlink_status(out / path);
        if (path == except) {
            EXPECT_FALSE(fs::exists(status));
            continue;
        }
        switch (node.kind) {
        case SampleNode::File:
            ASSERT_TRUE(fs::is_regular_file(status));
            EXPECT_EQ(sha256Prefix(out / path), node.sha);
            break;
        case SampleNode::Link:
            ASSERT_TRUE(fs::is_symlink(status));
            EXPECT_EQ(fs::read_symlink(out / path).string(), node.target);
            break;
        case SampleNode::Folder:
            EXPECT_TRUE(fs::is_directory(status));
        }
    }
    struct stat st {};
    ASSERT_EQ(stat((out / "game/start.sh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
}

class GameArchive : public SampleTest, public ::testing::WithParamInterface<RarSample> {};
using GameArchives = SampleTest;

TEST_P(GameArchive, ExtractsEveryPathIntact)
{
    TempFolder dir;
    const Listing listing =
        walk(copyGame(GetParam().archive, dir), RAR_EXTRACT, (dir / "out").string());
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    EXPECT_EQ(listing.entries.size(), kEntries);
    for (const ListedEntry& entry : listing.entries)
        EXPECT_EQ(entry.processResult, ERAR_SUCCESS) << entry.name;
    expectGame(dir / "out");
}

INSTANTIATE_TEST_SUITE_P(Rar5, GameArchive,
                         ::testing::ValuesIn(rarSamplesWhere(&RarSample::wholeGame)),
                         [](const auto& info) {
                             std::string name =
                                 info.param.archive.substr(0, info.param.archive.find('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST_F(GameArchives, DamagedFileFailsAloneAndIsNotLeftBehind)
{
    const RarSample& sample = rarSample("rar5-stored-damaged.rar");
    ASSERT_EQ(sample.failing.size(), 1u);
    const std::string damagedPath = *sample.failing.begin();
    TempFolder dir;
    const Listing listing =
        walk(copyGame(sample.archive, dir), RAR_EXTRACT, (dir / "out").string());
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(listing.entries.size(), kEntries);
    for (const ListedEntry& entry : listing.entries) {
        const bool damaged = entry.name == damagedPath;
        EXPECT_EQ(entry.processResult, damaged ? ERAR_BAD_DATA : ERAR_SUCCESS) << entry.name;
    }
    expectGame(dir / "out", damagedPath);
}

int g_notices = 0;
int countNotices(char*, int mode)
{
    g_notices += mode == RAR_VOL_NOTIFY ? 1 : 0;
    return 1;
}

// tiles.dat, split across the first two volumes, damaged in the first: it
// fails alone, and going back over the volumes tells the caller nothing new.
TEST_F(GameArchives, DamagedSplitFileFailsAloneInAVolumeSet)
{
    TempFolder dir;
    const fs::path first = copyGame("rar5-volumes.part01.rar", dir);
    std::string bytes = readFile(first);
    bytes[bytes.find("tiles.dat") + 5000] ^= 0x10;
    writeFile(first, bytes);
    g_notices = 0;
    OpenArchive open(first);
    rar().RARSetChangeVolProc(open.handle(), countNotices);
    int code = ERAR_SUCCESS;
    std::size_t entries = 0;
    while ((code = open.next()) == ERAR_SUCCESS) {
        ++entries;
        const bool damaged = std::string(open.header.FileName) == "game/data/tiles.dat";
        EXPECT_EQ(open.process(RAR_EXTRACT, (dir / "out").string()),
                  damaged ? ERAR_BAD_DATA : ERAR_SUCCESS)
            << open.header.FileName;
    }
    EXPECT_EQ(code, ERAR_END_ARCHIVE);
    EXPECT_EQ(entries, kEntries);
    EXPECT_EQ(g_notices, 2);
    expectGame(dir / "out", "game/data/tiles.dat");
}

TEST_F(GameArchives, HeadersCarryTheStoredFields)
{
    TempFolder dir;
    const Listing listing = walk(copyGame("rar5-volumes.part01.rar", dir));
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(listing.entries.size(), kEntries);
    const ListedEntry& start = listing.entries[0];
    EXPECT_EQ(start.name, "game/start.sh");
    EXPECT_EQ(start.crc, 0x987B4AB6u);
    EXPECT_EQ(start.attr, 0100755u);
    EXPECT_EQ(start.host, unsigned{RAR_HOST_UNIX});
    EXPECT_EQ(start.packSize, 23u);
    // tiles.dat begins in the first volume and goes on in the second.
    EXPECT_EQ(listing.entries[1].name, "game/data/tiles.dat");
    EXPECT_EQ(listing.entries[1].flags & RHDF_SPLITAFTER, unsigned{RHDF_SPLITAFTER});
    EXPECT_EQ(listing.entries[2].flags & RHDF_SPLITAFTER, 0u);
}

TEST_F(GameArchives, EncryptedDataIsNeverReportedExtracted)
{
    TempFolder dir;
    const fs::path archive = copyGame("rar5-encrypted-data.rar", dir);
    {
        OpenArchive open(archive);
        ASSERT_EQ(open.next(), ERAR_SUCCESS);
        EXPECT_EQ(open.header.Flags & RHDF_ENCRYPTED, unsigned{RHDF_ENCRYPTED});
        EXPECT_EQ(open.process(RAR_EXTRACT, (dir / "plain").string()), ERAR_MISSING_PASSWORD);
        EXPECT_EQ(open.next(), ERAR_BAD_DATA);
    }
    EXPECT_FALSE(fs::exists(dir / "plain" / "game/start.sh"));

    OpenArchive open(archive);
    std::string password = "zenkor";
    rar().RARSetPassword(open.handle(), password.data());
    std::size_t entries = 0;
    int code = ERAR_SUCCESS;
    while ((code = open.next()) == ERAR_SUCCESS) {
        ++entries;
        const std::string name = open.header.FileName;
        const int result = open.process(RAR_EXTRACT, (dir / "out").string());
        if (isFile(name)) {
            EXPECT_NE(result, ERAR_SUCCESS) << name;
            EXPECT_FALSE(fs::exists(dir / "out" / name)) << name;
        }
    }
    EXPECT_EQ(code, ERAR_END_ARCHIVE);
    EXPECT_EQ(entries, kEntries);
}

TEST_F(GameArchives, EncryptedHeadersAreRefusedAtTheFirstRead)
{
    TempFolder dir;
    const fs::path archive = copyGame("rar5-encrypted-headers.rar", dir);
    EXPECT_EQ(OpenArchive(archive).next(), ERAR_MISSING_PASSWORD);
    OpenArchive open(archive);
    std::string password = "zenkor";
    rar().RARSetPassword(open.handle(), password.data());
    const int code = open.next();
    EXPECT_NE(code, ERAR_SUCCESS);
    EXPECT_NE(code, ERAR_END_ARCHIVE);
}

} // namespace
} // namespace zk::unrar::testing
