// Small RAR 5 archives built in the test, so these checks run without the
// shared samples: wrong data and what libarchive cannot decode answer a
// failure code, never success and never an early end.

#include "tests/unrar/rar5_builder.h"
#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;
using Kind = Rar5Entry::Kind;

TEST(Rar5Built, DataNotMatchingItsCrcFailsAloneAndIsRemoved)
{
    TempFolder dir;
    std::string archive = buildRar5({{"first.txt", Kind::File, "first"},
                                     {"payload.bin", Kind::File, "payload bytes"},
                                     {"after.txt", Kind::File, "after"}});
    archive[archive.find("payload bytes")] ^= 0x01;
    writeFile(dir / "crc.rar", archive);
    for (const int operation : {RAR_TEST, RAR_EXTRACT}) {
        const Listing listing = walk(dir / "crc.rar", operation, (dir / "out").string());
        EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
        ASSERT_EQ(listing.entries.size(), 3u);
        EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
        EXPECT_EQ(listing.entries[1].processResult, ERAR_BAD_DATA);
        EXPECT_EQ(listing.entries[2].processResult, ERAR_SUCCESS);
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "payload.bin"));
    EXPECT_EQ(readFile(dir / "out" / "after.txt"), "after");
}

TEST(Rar5Built, DictionaryBeyondLibarchivesLimitAnswersAFailureCode)
{
    TempFolder dir;
    Rar5Entry big{"big.txt", Kind::File, "declares a 1 GB dictionary"};
    big.compressionInfo = 13u << 10;
    writeFile(
        dir / "dict.rar",
        buildRar5({{"before.txt", Kind::File, "before"}, big, {"after.txt", Kind::File, "after"}}));
    const Listing listing = walk(dir / "dict.rar", RAR_EXTRACT, (dir / "out").string());
    ASSERT_GE(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
    for (std::size_t i = 1; i < listing.entries.size(); ++i)
        EXPECT_NE(listing.entries[i].processResult == ERAR_SUCCESS,
                  listing.entries[i].name == "big.txt");
    EXPECT_NE(listing.endCode, ERAR_END_ARCHIVE);
}

TEST(Rar5Built, ArchiveCutBetweenEntriesDoesNotEndAsComplete)
{
    TempFolder dir;
    const std::string archive =
        buildRar5({{"kept.txt", Kind::File, "kept"}, {"lost.txt", Kind::File, "lost"}});
    // Cut just before the second file's header: what is left parses cleanly.
    writeFile(dir / "cut.rar", archive.substr(0, archive.find("lost.txt") - 20));
    const Listing listing = walk(dir / "cut.rar", RAR_EXTRACT, (dir / "out").string());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
    EXPECT_EQ(listing.endCode, ERAR_BAD_DATA);
}

} // namespace
} // namespace zk::unrar::testing
