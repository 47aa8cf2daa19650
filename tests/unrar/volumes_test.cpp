// Multi-volume archives: naming schemes, moving on, asking for a missing
// volume, and abandoning.

#include "tests/unrar/rar_library.h"
#include "unrar/end_block.h"
#include "unrar/volume_names.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;

TEST(VolumeNames, FollowTheFirstVolumesScheme)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/d/game.part1.rar", "/d/game.part2.rar"},
        {"game.part0001.rar", "game.part0002.rar"},
        {"game.part0009.rar", "game.part0010.rar"},
        {"game.part9.rar", "game.part10.rar"},
        {"GAME.PART01.RAR", "GAME.PART02.RAR"},
        {"Game.Part07.Rar", "Game.Part08.Rar"},
        {"game.part.rar", "game.part.r00"},
        {"a.b/game.rar", "a.b/game.r00"},
        {"GAME.RAR", "GAME.R00"},
        {"game.rAR", "game.r00"},
        {"game.Rar", "game.R00"},
        {".rar", ".r00"},
        {"game.r00", "game.r01"},
        {"game.r09", "game.r10"},
        {"game.r99", "game.s00"},
        {"GAME.R99", "GAME.S00"},
        {"game.z99", ""},
        {"GAME.Z99", ""},
        {"game.r9", ""},
        {"game.r000", ""},
        {"two\nlines.part1.rar", ""},
        {"two\rlines.rar", ""},
        {"two\nlines.r00", ""},
        {"game.exe", ""},
        {"noextension", ""},
    };
    for (const auto& [current, next] : cases)
        EXPECT_EQ(nextVolumeName(current), next) << current;
}

std::vector<std::uint8_t> tailOf(const fs::path& path)
{
    const std::string bytes = readFile(path);
    const std::size_t keep = std::min(bytes.size(), kEndBlockSearch);
    return {bytes.end() - static_cast<std::ptrdiff_t>(keep), bytes.end()};
}

using VolumeEnds = SampleTest;

TEST_F(VolumeEnds, EndBlockTellsWhetherAnotherVolumeFollows)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"rar4-multivolume.part0001.rar", true},
        {"rar4-multivolume.part0003.rar", true},
        {"rar4-multivolume.part0004.rar", false},
        {"rar4-unix-basic.rar", false},
        {"rar5-stored.rar", false},
        {"rar4-windows-sfx.exe", false},
        // RAR 5 volumes cut to a fixed size carry zeros after the end block.
        {"rar5-volumes.part01.rar", true},
        {"rar5-volumes.part02.rar", true},
        {"rar5-volumes.part03.rar", false},
    };
    for (const auto& [name, follows] : cases) {
        const std::vector<std::uint8_t> tail = tailOf(samplesDir() / name);
        EXPECT_EQ(endBlockAnnouncesNextVolume(tail.data(), tail.size()), follows) << name;
    }
    std::vector<std::uint8_t> damaged = tailOf(samplesDir() / "rar4-multivolume.part0001.rar");
    damaged[damaged.size() - 17] ^= 0x01; // inside the end block: its CRC no longer fits
    EXPECT_FALSE(endBlockAnnouncesNextVolume(damaged.data(), damaged.size()));
}

// What the volume callback was told, and how it answers.
struct VolumeLog {
    std::vector<std::pair<int, std::string>> calls;
    std::string replacement; // written into the buffer on an ask, when set
    int askAnswer = 0;
    int notifyAnswer = 1;
};
VolumeLog g_volumes;

int recordVolume(char* name, int mode)
{
    g_volumes.calls.emplace_back(mode, fs::path(name).filename().string());
    if (mode == RAR_VOL_NOTIFY)
        return g_volumes.notifyAnswer;
    if (!g_volumes.replacement.empty()) {
        std::strcpy(name, g_volumes.replacement.c_str());
        g_volumes.replacement.clear();
        return 1;
    }
    return g_volumes.askAnswer;
}

// The first non-zero code of a walk that passes over the big file and
// extracts the rest.
int extractSmallFiles(const fs::path& first, const fs::path& out, bool withCallback = true)
{
    OpenArchive open(first);
    if (open.handle() == nullptr)
        return static_cast<int>(open.result());
    if (withCallback)
        rar().RARSetChangeVolProc(open.handle(), recordVolume);
    int code = ERAR_SUCCESS;
    while ((code = open.next()) == ERAR_SUCCESS) {
        const bool big = std::string(open.header.FileName) == "ppmd_lzss_conversion_test.txt";
        code = open.process(big ? RAR_SKIP : RAR_EXTRACT, out.string());
        if (code != ERAR_SUCCESS)
            break;
    }
    return code == ERAR_END_ARCHIVE ? ERAR_SUCCESS : code;
}

class MultiVolume : public SampleTest {
protected:
    void SetUp() override
    {
        SampleTest::SetUp();
        if (IsSkipped())
            return;
        g_volumes = VolumeLog{};
        for (int i = 1; i <= 4; ++i)
            volumes.push_back(copySample(volumeName(i), dir.path()));
    }
    static std::string volumeName(int i)
    {
        return "rar4-multivolume.part000" + std::to_string(i) + ".rar";
    }
    void expectSmallFilesExtracted() const
    {
        EXPECT_EQ(sha256Prefix(dir / "out" / "LibarchiveAddingTest.html"), "ee16390e87152d7d");
        EXPECT_EQ(sha256Prefix(dir / "out" / "testdir/LibarchiveAddingTest.html"),
                  "ee16390e87152d7d");
        EXPECT_EQ(readFile(dir / "out" / "testdir/test.txt").size(), 20u);
        EXPECT_TRUE(fs::is_symlink(dir / "out" / "testlink"));
    }
    TempFolder dir;
    std::vector<fs::path> volumes;
};

TEST_F(MultiVolume, MovesThroughEveryVolumeTellingTheCallback)
{
    EXPECT_EQ(extractSmallFiles(volumes[0], dir / "out"), ERAR_SUCCESS);
    const std::vector<std::pair<int, std::string>> expected = {{RAR_VOL_NOTIFY, volumeName(2)},
                                                               {RAR_VOL_NOTIFY, volumeName(3)},
                                                               {RAR_VOL_NOTIFY, volumeName(4)}};
    EXPECT_EQ(g_volumes.calls, expected);
    expectSmallFilesExtracted();
}

// The 241 MB file split over three volumes comes out whole or answers a
// failure code and is gone; either way the entries after it extract.
TEST_F(MultiVolume, BigSplitFileIsWholeOrFailsLoudly)
{
    const Listing listing = walk(volumes[0], RAR_EXTRACT, (dir / "out").string());
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(listing.entries.size(), 7u);
    const fs::path big = dir / "out" / "ppmd_lzss_conversion_test.txt";
    if (listing.entries[0].processResult == ERAR_SUCCESS) {
        EXPECT_EQ(sha256Prefix(big), "a0b8a5130c56577e");
    } else {
        EXPECT_FALSE(fs::exists(big));
    }
    for (std::size_t i = 1; i < listing.entries.size(); ++i)
        EXPECT_EQ(listing.entries[i].processResult, ERAR_SUCCESS) << listing.entries[i].name;
    expectSmallFilesExtracted();
}

TEST_F(MultiVolume, OlderNamingSchemeIsFollowedToo)
{
    const std::vector<std::string> names = {"old.rar", "old.r00", "old.r01", "old.r02"};
    for (std::size_t i = 0; i < names.size(); ++i)
        fs::rename(volumes[i], dir / names[i]);
    EXPECT_EQ(extractSmallFiles(dir / "old.rar", dir / "out"), ERAR_SUCCESS);
    ASSERT_EQ(g_volumes.calls.size(), 3u);
    EXPECT_EQ(g_volumes.calls[2].second, "old.r02");
    expectSmallFilesExtracted();
}

TEST_F(MultiVolume, MissingVolumeIsAskedForAndAbandonedWithOpenError)
{
    fs::remove(volumes[2]);
    EXPECT_EQ(extractSmallFiles(volumes[0], dir / "out"), ERAR_EOPEN);
    ASSERT_EQ(g_volumes.calls.size(), 2u);
    EXPECT_EQ(g_volumes.calls[1], std::make_pair(int{RAR_VOL_ASK}, volumeName(3)));
}

TEST_F(MultiVolume, MissingVolumeWithoutCallbackAnswersOpenError)
{
    fs::remove(volumes[3]);
    EXPECT_EQ(extractSmallFiles(volumes[0], dir / "out", false), ERAR_EOPEN);
}

TEST_F(MultiVolume, CallbackMayNameTheMissingVolumeElsewhere)
{
    // The last two volumes are on "another disk"; later names follow the new folder.
    fs::create_directory(dir / "disk2");
    fs::rename(volumes[2], dir / "disk2" / volumeName(3));
    fs::rename(volumes[3], dir / "disk2" / volumeName(4));
    g_volumes.replacement = (dir / "disk2" / volumeName(3)).string();
    EXPECT_EQ(extractSmallFiles(volumes[0], dir / "out"), ERAR_SUCCESS);
    const std::vector<std::pair<int, std::string>> expected = {{RAR_VOL_NOTIFY, volumeName(2)},
                                                               {RAR_VOL_ASK, volumeName(3)},
                                                               {RAR_VOL_NOTIFY, volumeName(3)},
                                                               {RAR_VOL_NOTIFY, volumeName(4)}};
    EXPECT_EQ(g_volumes.calls, expected);
    expectSmallFilesExtracted();
}

TEST_F(MultiVolume, RefusedNotificationStopsWithOpenError)
{
    g_volumes.notifyAnswer = 0;
    EXPECT_EQ(extractSmallFiles(volumes[0], dir / "out"), ERAR_EOPEN);
    EXPECT_EQ(g_volumes.calls.size(), 1u);
}

} // namespace
} // namespace zk::unrar::testing
