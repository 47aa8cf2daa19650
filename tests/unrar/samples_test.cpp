// Every shared sample archive, read and extracted through the exported entry
// points, gives what the real library gives for it.

#include "tests/support/rar_samples.h"
#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;

class SampleArchive : public SampleTest, public ::testing::WithParamInterface<RarSample> {};
using SampleArchives = SampleTest;

TEST_P(SampleArchive, ListsAndExtractsWhatItHolds)
{
    const RarSample& sample = GetParam();
    TempFolder dir;
    const fs::path archive = copySample(sample.archive, dir.path());
    const fs::path out = dir / "out";
    fs::create_directory(out);

    const Listing listing = walk(archive, RAR_EXTRACT, out.string());
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    ASSERT_EQ(listing.entries.size(), sample.tree.size());
    std::map<std::string, ListedEntry> byName;
    for (const ListedEntry& entry : listing.entries) {
        EXPECT_EQ(entry.processResult, ERAR_SUCCESS) << entry.name;
        byName[entry.name] = entry;
    }
    for (const auto& [name, expected] : sample.tree) {
        SCOPED_TRACE(name);
        ASSERT_EQ(byName.count(name), 1u);
        const ListedEntry& entry = byName[name];
        const fs::path written = out / name;
        const bool folder = expected.kind == SampleNode::Folder;
        EXPECT_EQ((entry.flags & RHDF_DIRECTORY) != 0, folder);
        EXPECT_EQ(entry.flags & RHDF_ENCRYPTED, 0u);
        if (entry.host == RAR_HOST_WIN32) {
            // DOS attribute words: 0x10 on folders only.
            EXPECT_EQ(entry.attr & 0x10, folder ? 0x10u : 0u);
            EXPECT_EQ(entry.attr & 0170000, 0u);
        } else if (folder) {
            EXPECT_EQ(entry.attr & 0170000, 040000u);
        } else {
            EXPECT_EQ(entry.attr & 0170000,
                      expected.kind == SampleNode::Link ? 0120000u : 0100000u);
        }
        switch (expected.kind) {
        case SampleNode::Folder:
            EXPECT_TRUE(fs::is_directory(fs::symlink_status(written)));
            break;
        case SampleNode::Link:
            ASSERT_TRUE(fs::is_symlink(fs::symlink_status(written)));
            EXPECT_EQ(fs::read_symlink(written).string(), expected.target);
            break;
        case SampleNode::File:
            ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(written)));
            EXPECT_EQ(fs::file_size(written), entry.size);
            if (!expected.sha.empty()) {
                EXPECT_EQ(sha256Prefix(written), expected.sha);
            }
        }
    }
}

TEST_P(SampleArchive, TestOperationDecodesEveryEntryWithoutWriting)
{
    TempFolder dir;
    const fs::path archive = copySample(GetParam().archive, dir.path());
    const Listing listing = walk(archive, RAR_TEST);
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    for (const ListedEntry& entry : listing.entries)
        EXPECT_EQ(entry.processResult, ERAR_SUCCESS) << entry.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleArchive,
                         ::testing::ValuesIn(rarSamplesWhere(&RarSample::plain)),
                         [](const auto& info) {
                             std::string name = info.param.archive;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); },
                                 '_');
                             return name;
                         });

TEST_F(SampleArchives, UnixAttributesAreTheStoredModes)
{
    TempFolder dir;
    const Listing listing = walk(copySample("rar4-unix-basic.rar", dir.path()));
    std::map<std::string, unsigned> attrs;
    for (const ListedEntry& entry : listing.entries)
        attrs[entry.name] = entry.attr;
    EXPECT_EQ(attrs["test.txt"], 0x81A4u);
    EXPECT_EQ(attrs["testdir"], 0x41EDu);
    EXPECT_EQ(attrs["testlink"], 0xA1FFu);
}

TEST_F(SampleArchives, HeadersCarryTheStoredHostAttributesAndSplitFlags)
{
    TempFolder dir;
    const Listing windows = walk(copySample("rar4-windows-sfx.exe", dir.path()));
    ASSERT_EQ(windows.entries.size(), 5u);
    EXPECT_EQ(windows.entries[0].host, unsigned{RAR_HOST_WIN32});
    EXPECT_EQ(windows.entries[0].attr, 0x20u);
    EXPECT_EQ(windows.entries[3].attr, 0x10u);

    for (int i = 1; i <= 4; ++i)
        copySample("rar4-multivolume.part000" + std::to_string(i) + ".rar", dir.path());
    const Listing volumes = walk(dir / "rar4-multivolume.part0001.rar");
    ASSERT_EQ(volumes.entries.size(), 7u);
    EXPECT_EQ(volumes.entries[0].flags & RHDF_SPLITAFTER, unsigned{RHDF_SPLITAFTER});
    EXPECT_EQ(volumes.entries[0].size, 241647978u);
    EXPECT_EQ(volumes.entries[2].name, "testlink");
    EXPECT_EQ(volumes.entries[2].attr, 0xA1FFu);
    EXPECT_EQ(volumes.entries[3].flags, 0u);
    EXPECT_EQ(volumes.entries[3].host, unsigned{RAR_HOST_UNIX});
}

TEST_F(SampleArchives, EncryptedEntriesAreFlaggedAndRefusedWithoutPassword)
{
    TempFolder dir;
    const fs::path archive = copySample("rar4-encrypted-entries.rar", dir.path());
    const Listing listing = walk(archive, RAR_SKIP);
    ASSERT_EQ(listing.entries.size(), 4u);
    for (const ListedEntry& entry : listing.entries) {
        const bool encrypted = entry.name == "b.txt" || entry.name == "d.txt";
        EXPECT_EQ((entry.flags & RHDF_ENCRYPTED) != 0, encrypted) << entry.name;
        EXPECT_EQ(entry.size, 18u);
    }

    const Listing extracted = walk(archive, RAR_EXTRACT, (dir / "out").string());
    ASSERT_EQ(extracted.entries.size(), 2u);
    EXPECT_EQ(extracted.entries[0].processResult, ERAR_SUCCESS);
    EXPECT_EQ(extracted.entries[1].name, "b.txt");
    EXPECT_EQ(extracted.entries[1].processResult, ERAR_MISSING_PASSWORD);
    EXPECT_EQ(extracted.endCode, ERAR_BAD_DATA);
    EXPECT_EQ(readFile(dir / "out" / "a.txt").size(), 18u);
    EXPECT_FALSE(fs::exists(dir / "out" / "b.txt"));

    // Passing over the encrypted ones reaches the plain ones behind them.
    {
        OpenArchive open(archive);
        ASSERT_NE(open.handle(), nullptr);
        while (open.next() == ERAR_SUCCESS) {
            const int operation = open.header.Flags & RHDF_ENCRYPTED ? RAR_SKIP : RAR_EXTRACT;
            EXPECT_EQ(open.process(operation, (dir / "plain").string()), ERAR_SUCCESS);
        }
    }
    EXPECT_EQ(readFile(dir / "plain" / "c.txt").size(), 18u);
    EXPECT_FALSE(fs::exists(dir / "plain" / "d.txt"));
}

TEST_F(SampleArchives, DamagedDataAnswersBadData)
{
    TempFolder dir;
    const Listing listing =
        walk(copySample("rar4-invalid.rar", dir.path()), RAR_EXTRACT, (dir / "out").string());
    ASSERT_GE(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, "test");
    EXPECT_EQ(listing.entries[0].processResult, ERAR_BAD_DATA);
    EXPECT_FALSE(fs::exists(dir / "out" / "test"));
}

TEST_F(SampleArchives, OpenFailuresTellMissingFileFromForeignFormat)
{
    TempFolder dir;
    writeFile(dir / "notes.rar", "this is plain text, not an archive\n");
    writeFile(dir / "empty.rar", "");
    fs::create_directory(dir / "folder.rar");
    EXPECT_EQ(openResult(dir / "missing.rar"), unsigned{ERAR_EOPEN});
    EXPECT_EQ(openResult(dir / "folder.rar"), unsigned{ERAR_EOPEN});
    EXPECT_EQ(openResult(dir / "notes.rar"), unsigned{ERAR_BAD_ARCHIVE});
    EXPECT_EQ(openResult(dir / "empty.rar"), unsigned{ERAR_BAD_ARCHIVE});
    EXPECT_EQ(openResult(copySample("rar5-stored.rar", dir.path())), unsigned{ERAR_SUCCESS});
}

} // namespace
} // namespace zk::unrar::testing
