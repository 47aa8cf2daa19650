// Symbolic links are written only when they stay inside the destination;
// hard links become copies of files extracted earlier through the same
// handle; RAR 5 symbolic links obey the same bounds as RAR 4 ones.

#include "tests/unrar/rar5_builder.h"
#include "tests/unrar/rar_library.h"
#include "tests/unrar/writer_archives.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;
using Kind = Rar5Entry::Kind;

fs::path writeRar5(const TempFolder& dir, const std::vector<Rar5Entry>& entries)
{
    fs::path path = dir / "links.rar";
    writeFile(path, buildRar5(entries));
    return path;
}

TEST(HardLinks, AreWrittenAsIndependentCopiesOfEarlierFiles)
{
    TempFolder dir;
    const fs::path out = dir / "out";
    const Listing listing = walk(writeRar5(dir, {{"orig.txt", Kind::File, "original bytes\n"},
                                                 {"sub/copy.txt", Kind::HardLink, "orig.txt"},
                                                 {"dangling.txt", Kind::HardLink, "never-seen.txt"},
                                                 {"after.txt", Kind::File, "after"}}),
                                 RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[1].processResult, ERAR_SUCCESS);
    EXPECT_EQ(readFile(out / "sub/copy.txt"), "original bytes\n");
    struct stat st {};
    ASSERT_EQ(stat((out / "orig.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(listing.entries[2].processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::exists(out / "dangling.txt"));
    EXPECT_EQ(listing.entries[3].processResult, ERAR_SUCCESS);
    EXPECT_EQ(readFile(out / "after.txt"), "after");
}

TEST(HardLinks, NeedTheirFileExtractedNotOnlyTested)
{
    TempFolder dir;
    const fs::path archive = writeRar5(
        dir, {{"orig.txt", Kind::File, "bytes"}, {"copy.txt", Kind::HardLink, "orig.txt"}});
    {
        OpenArchive open(archive);
        ASSERT_NE(open.handle(), nullptr);
        ASSERT_EQ(open.next(), ERAR_SUCCESS);
        EXPECT_EQ(open.process(RAR_TEST, {}), ERAR_SUCCESS);
        ASSERT_EQ(open.next(), ERAR_SUCCESS);
        EXPECT_EQ(open.process(RAR_EXTRACT, (dir / "out").string()), ERAR_ECREATE);
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "copy.txt"));
}

TEST(Rar5Links, SymbolicLinksAreBoundedByTheDestination)
{
    TempFolder dir;
    const fs::path out = dir / "out";
    const Listing listing = walk(writeRar5(dir, {{"file.txt", Kind::File, "f"},
                                                 {"ok", Kind::SymLink, "file.txt"},
                                                 {"up", Kind::SymLink, "../outside"},
                                                 {"abs", Kind::SymLink, "/etc"}}),
                                 RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[1].processResult, ERAR_SUCCESS);
    EXPECT_EQ(fs::read_symlink(out / "ok").string(), "file.txt");
    EXPECT_EQ(listing.entries[2].processResult, ERAR_ECREATE);
    EXPECT_EQ(listing.entries[3].processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(out / "up")));
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(out / "abs")));
}

struct LinkCase {
    std::string name;
    std::string target;
    bool useDestName;
    bool allowed;
    bool destPathToo = false; // with a destination name, also pass the folder
};

class LinkSafety : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkSafety, OnlyLinksStayingInsideAreWritten)
{
    const LinkCase& c = GetParam();
    TempFolder dir;
    const fs::path out = dir / "out";
    fs::create_directories(out / "sub");
    const fs::path path = writeArchive(dir, {link(c.name, c.target), file("after.txt", "ok")});
    OpenArchive archive(path);
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_EQ(archive.header.FileAttr, rarwriter::kUnixSymlinkAttr);
    const fs::path linkPath = out / c.name;
    const std::string destPath = c.destPathToo ? out.string() : std::string();
    const int result = c.useDestName ? archive.process(RAR_EXTRACT, destPath, linkPath.string())
                                     : archive.process(RAR_EXTRACT, out.string());
    EXPECT_EQ(result, c.allowed ? ERAR_SUCCESS : ERAR_ECREATE);
    EXPECT_EQ(fs::is_symlink(fs::symlink_status(linkPath)), c.allowed);
    if (c.allowed) {
        EXPECT_EQ(fs::read_symlink(linkPath).string(), c.target);
    }
    // A refused link does not end the run.
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_EQ(archive.process(RAR_EXTRACT, out.string()), ERAR_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkSafety,
    ::testing::Values(
        LinkCase{"l", "after.txt", false, true}, LinkCase{"sub/l", "../after.txt", false, true},
        LinkCase{"sub/l", "../../escape", false, false}, LinkCase{"l", "/etc/passwd", false, false},
        LinkCase{"l", "..", false, false}, LinkCase{"sub/l", "x/../../../y", false, false},
        LinkCase{"sub/l", "a/b/../c", false, false}, LinkCase{"l", "", false, false},
        // Given only a destination name, the link's own folder bounds it.
        LinkCase{"sub/l", "sibling", true, true}, LinkCase{"sub/l", "../after.txt", true, false},
        LinkCase{"sub/l", "../after.txt", true, true, true},
        LinkCase{"sub/l", "../../escape", true, false, true}));

TEST(WriterArchives, LinkThroughAnEarlierLinkCannotEscape)
{
    TempFolder dir;
    const fs::path out = dir / "out";
    const fs::path path =
        writeArchive(dir, {link("here", "."), link("here/up", "../outside"), file("f", "f")});
    const Listing listing = walk(path, RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 3u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
    EXPECT_EQ(listing.entries[1].processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(out / "up")));
    EXPECT_EQ(listing.entries[2].processResult, ERAR_SUCCESS);
}

} // namespace
} // namespace zk::unrar::testing
