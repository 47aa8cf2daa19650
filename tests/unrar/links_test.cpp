// Hard links become copies of files extracted earlier through the same
// handle; RAR 5 symbolic links obey the same bounds as RAR 4 ones.

#include "tests/unrar/rar5_builder.h"
#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;
using Kind = Rar5Entry::Kind;

fs::path writeRar5(const TempDir& dir, const std::vector<Rar5Entry>& entries) {
    const fs::path path = dir / "links.rar";
    writeFile(path, buildRar5(entries));
    return path;
}

TEST(HardLinks, AreWrittenAsIndependentCopiesOfEarlierFiles) {
    TempDir dir;
    const fs::path out = dir / "out";
    const Listing listing =
        walk(writeRar5(dir, {{"orig.txt", Kind::File, "original bytes\n"},
                             {"sub/copy.txt", Kind::HardLink, "orig.txt"},
                             {"dangling.txt", Kind::HardLink, "never-seen.txt"},
                             {"after.txt", Kind::File, "after"}}),
             RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 4u);
    EXPECT_EQ(listing.entries[1].processResult, ERAR_SUCCESS);
    EXPECT_EQ(readFile(out / "sub/copy.txt"), "original bytes\n");
    struct stat st{};
    ASSERT_EQ(stat((out / "orig.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(listing.entries[2].processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::exists(out / "dangling.txt"));
    EXPECT_EQ(listing.entries[3].processResult, ERAR_SUCCESS);
    EXPECT_EQ(readFile(out / "after.txt"), "after");
}

TEST(HardLinks, NeedTheirFileExtractedNotOnlyTested) {
    TempDir dir;
    const fs::path archive = writeRar5(dir, {{"orig.txt", Kind::File, "bytes"},
                                             {"copy.txt", Kind::HardLink, "orig.txt"}});
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

TEST(Rar5Links, SymbolicLinksAreBoundedByTheDestination) {
    TempDir dir;
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

}  // namespace
}  // namespace zk::unrar::testing
