// Faults between the library and the disk, through the engine with each RAR
// library: whatever a run reports as extracted is on disk exactly as stored,
// every shortfall is reported with its cause, and nothing outside the target
// folder changes.
#include "archive/unrar.h"
#include "tests/support/library_sandbox.h"
#include "tools/rar_writer/rar_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using zk::rarwriter::Entry;

namespace {

Entry file(const std::string& name, const std::string& data)
{
    Entry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

Entry link(const std::string& name, const std::string& target)
{
    Entry entry = file(name, target);
    entry.attr = zk::rarwriter::kUnixSymlinkAttr;
    return entry;
}

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LibraryFaults : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        const char* library = std::getenv(GetParam());
        if (!library || !*library)
            GTEST_SKIP() << GetParam() << " is not set: that library is not part of this build";
        ASSERT_TRUE(sandbox_.open("zk-library-faults", library)) << library;
        out_ = sandbox_.root() / "out";
        fs::create_directories(out_);
    }
    void TearDown() override { sandbox_.close(); }

    // Events of one run, "begin NAME", "end ok|fail NAME", "error CODE NAME",
    // with names relative to the target folder.
    std::vector<std::string> extract(const fs::path& archive)
    {
        std::vector<std::string> lines;
        auto relative = [this](const std::string& fn) {
            return fs::path(fn).lexically_relative(out_).string();
        };
        TUnRAR rar(nullptr);
        rar.OnEnd = [&](TObject*, const std::string& fn, bool pass) {
            lines.push_back((pass ? "end ok " : "end fail ") + relative(fn));
        };
        rar.OnError = [&](TObject*, const std::string& fn, const std::string&, int32_t code) {
            lines.push_back("error " + std::to_string(code) + " " + fn);
        };
        rar.SetExtractDir(out_.string());
        rar.SetArchiveFile(archive.string());
        rar.Extract();
        return lines;
    }
    std::vector<std::string> extract(const std::vector<Entry>& entries)
    {
        const fs::path archive = sandbox_.root() / "test.rar";
        zk::rarwriter::writeArchive(archive.string(), entries);
        return extract(archive);
    }

    LibrarySandbox sandbox_;
    fs::path out_;
};

TEST_P(LibraryFaults, LongNamesAreWrittenWholeOrRefused)
{
    // The two names differ only past the plain header record's 260 bytes.
    const std::string deep =
        "data/" + std::string(120, 'a') + "/" + std::string(120, 'b') + "/level_map_0001_";
    const std::string overlong = std::string(300, 'y') + ".dat";
    EXPECT_THAT(
        extract({file(deep + "A.dat", "A"), file(deep + "B.dat", "B"), file(overlong, "too long")}),
        ElementsAre("end ok " + deep + "A.dat", "end ok " + deep + "B.dat",
                    "error 25143 " + overlong, "end fail " + overlong));
    EXPECT_EQ(contents(out_ / (deep + "A.dat")), "A");
    EXPECT_EQ(contents(out_ / (deep + "B.dat")), "B");
}

TEST_P(LibraryFaults, LinksAlreadyInTheTargetAreReplacedNotWrittenThrough)
{
    const fs::path outside = sandbox_.root() / "outside";
    fs::create_directories(outside / "dir");
    std::ofstream(outside / "file") << "keep";
    fs::permissions(outside / "file", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(out_ / "Spiel");
    fs::create_symlink(outside / "file", out_ / "Spiel/starten.sh");
    fs::create_symlink(outside / "dir", out_ / "Spiel/daten");
    fs::create_hard_link(outside / "file", out_ / "Spiel/hart.txt");
    Entry script = file("Spiel/starten.sh", "#!/bin/sh\n");
    script.attr = 0100755;
    EXPECT_THAT(extract({script, file("Spiel/daten/a.txt", "a"), file("Spiel/hart.txt", "new")}),
                ElementsAre("end ok Spiel/starten.sh", "end ok Spiel/daten/a.txt",
                            "end ok Spiel/hart.txt"));
    EXPECT_EQ(contents(outside / "file"), "keep");
    EXPECT_EQ(fs::status(outside / "file").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_empty(outside / "dir"));
    EXPECT_FALSE(fs::is_symlink(out_ / "Spiel/daten"));
    EXPECT_EQ(contents(out_ / "Spiel/starten.sh"), "#!/bin/sh\n");
    EXPECT_EQ(contents(out_ / "Spiel/hart.txt"), "new");
}

TEST_P(LibraryFaults, LinkThatCannotBeMadeFailsItsEntry)
{
    std::ofstream(out_ / "blocked") << "a file where the link's folder belongs";
    const auto lines = extract({link("blocked/ziel.txt", "a.txt"), file("ok.txt", "fine")});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("error "));
    EXPECT_EQ(lines[1], "end fail blocked/ziel.txt");
    EXPECT_EQ(lines[2], "end ok ok.txt");
}

TEST_P(LibraryFaults, FullDiskEndsTheRunWithOneDiskFull)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    ASSERT_EQ(mount("tmpfs", out_.c_str(), "tmpfs", 0, "size=256k"), 0);
    const std::string big(200 * 1024, 'x');
    const auto lines = extract({file("a.bin", big), file("b.bin", big), file("c.bin", big)});
    const bool onlyA =
        fs::exists(out_ / "a.bin") && !fs::exists(out_ / "b.bin") && !fs::exists(out_ / "c.bin");
    umount(out_.c_str());
    EXPECT_THAT(lines, ElementsAre("end ok a.bin", "error 25125 b.bin"));
    EXPECT_TRUE(onlyA);
}

TEST_P(LibraryFaults, MissingPasswordAndMissingVolumeAreNamed)
{
    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (!samples || !fs::is_directory(samples))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    const fs::path copy = sandbox_.root() / "rar5-volumes.part01.rar";
    fs::copy_file(fs::path(samples) / "rar5-volumes.part01.rar", copy);
    const auto volumeLines = extract(copy);
    EXPECT_THAT(volumeLines, ::testing::Contains("error 25132 rar5-volumes.part02.rar"));
    EXPECT_THAT(volumeLines,
                ::testing::Contains("end fail game/data/tiles.dat")); // it spans the volumes

    fs::remove_all(out_);
    EXPECT_THAT(extract(fs::path(samples) / "rar4-encrypted-entries.rar"),
                ElementsAre("end ok a.txt", "error 25190 b.txt"));
}

INSTANTIATE_TEST_SUITE_P(EachLibrary, LibraryFaults,
                         ::testing::Values("ZK_PUBLIC_UNRAR", "ZK_OWN_UNRAR"),
                         [](const auto& info) { return std::string(info.param).substr(3); });

} // namespace
