// The engine's pure rules: the progress test, entry names and kinds, the
// containment check and the result-code mapping.
#include "archive/engine/rar_entry.h"
#include "archive/engine/rar_progress.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PercentageTest, FollowsTheStepAndThePreviousValue)
{
    struct Case {
        uint8_t step, last;
        uint64_t done, total;
        bool reports;
        uint8_t lastAfter;
    };
    const Case cases[] = {
        {10, 55, 0, 100, false, 55},    // nothing done yet
        {10, 55, 5, 0, false, 55},      // no size
        {10, 100, 100, 100, true, 100}, // completion even after a 100
        {10, 0, 37, 100, false, 37},
        {10, 37, 74, 100, false, 74},
        {10, 74, 40, 100, true, 40},
        {10, 40, 40, 100, false, 40}, // same multiple twice
        {10, 100, 1, 1000, true, 0},  // 0 is a multiple of every step
        {10, 0, 1, 1000, false, 0},
        {25, 10, 50, 100, true, 50},
        {15, 10, 45, 100, true, 45},
        {15, 10, 50, 100, false, 50},
        {10, 0, 4294967294u, 4294967295u, false, 99}, // exact at the 32-bit limit
        {10, 0, 1717986918u, 4294967295u, true, 40},
        {10, 0, 1717986917u, 4294967295u, false, 39},
        {10, 0, 150, 100, true, 100},                // more data than announced stays at 100
        {10, 90, 440000000u, 4400000000u, true, 10}, // beyond 4 GB, no wrap at 2^32
        {10, 10, 4300000000u, 4400000000u, false, 97},
        {10, 0, UINT64_MAX - 1, UINT64_MAX, false, 99},
    };
    for (const Case& c : cases) {
        uint8_t last = c.last;
        EXPECT_EQ(PercentageTest(c.step, last, c.done, c.total), c.reports)
            << c.done << "/" << c.total;
        EXPECT_EQ(last, c.lastAfter) << c.done << "/" << c.total;
    }
}

RARHeaderDataEx header(const char* name, unsigned int flags = 0, unsigned int host = 2,
                       unsigned int attr = 0x20)
{
    RARHeaderDataEx h{};
    std::strncpy(h.FileName, name, sizeof h.FileName - 1);
    h.Flags = flags;
    h.HostOS = host;
    h.FileAttr = attr;
    return h;
}

TEST(EntryName, StopsAtTheZeroAndKeepsEveryCharacter)
{
    EXPECT_EQ(StoredEntryName(header("  a b.txt\t\r\n")), "  a b.txt\t\r\n");
    EXPECT_EQ(StoredEntryName(header("   ")), "   ");
    EXPECT_EQ(StoredEntryName(header("テスト.txt ")), "テスト.txt ");
    // "\" separates folders only in names from DOS, OS/2 and Windows hosts.
    EXPECT_EQ(StoredEntryName(header("dir\\x", 0, 0)), "dir/x");
    EXPECT_EQ(StoredEntryName(header("dir\\x", 0, 1)), "dir/x");
    EXPECT_EQ(StoredEntryName(header("dir\\x", 0, 2)), "dir/x");
    EXPECT_EQ(StoredEntryName(header("back\\slash.txt", 0, 3)), "back\\slash.txt");
    RARHeaderDataEx full{};
    std::memset(full.FileName, 'n', sizeof full.FileName); // no terminating zero at all
    EXPECT_EQ(StoredEntryName(full), std::string(sizeof full.FileName, 'n'));
}

// Only the header's directory flag makes a folder: the public library's own
// tool extracts the others as files.
TEST(EntryKind, FoldersByTheDirectoryFlagAlone)
{
    struct Case {
        unsigned int flags, host, attr;
        bool folder;
    };
    const Case cases[] = {
        {0x20, 3, 0x81A4, true}, {0x20, 2, 0x20, true}, {0, 0, 0x10, false},
        {0, 1, 0x10, false},     {0, 2, 0x10, false},   {0, 2, 0x21, false},
        {0, 3, 0x41ED, false},   {0, 3, 0x81B4, false}, {0, 3, 0x81FD, false},
        {0, 3, 0xA1FF, false},   {0, 5, 0x10, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsFolderEntry(header("x", c.flags, c.host, c.attr)), c.folder)
            << std::hex << c.flags << " " << c.host << " " << c.attr;
}

TEST(EntryKind, PermissionsAreStoredOnesUnderTheUmaskWithoutSpecialBits)
{
    struct Case {
        unsigned int flags, host, attr, umask, permissions;
    };
    const Case cases[] = {
        {0, 3, 0104755, 022, 0755}, {0, 3, 0102755, 0, 0755},   {0, 3, 0101777, 0, 0777},
        {0, 3, 0100777, 022, 0755}, {0, 3, 0100640, 077, 0600}, {0x20, 3, 040700, 022, 0700},
        {0, 2, 0x20, 022, 0644},    {0, 2, 0x21, 022, 0444},    {0x20, 2, 0x10, 002, 0775},
        {0x20, 0, 0x11, 0, 0555},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EntryPermissions(header("x", c.flags, c.host, c.attr), c.umask), c.permissions)
            << std::oct << c.attr << " host " << c.host << " umask " << c.umask;
}

TEST(EntryKind, LinksByRedirectionOrByTheUnixMode)
{
    RARHeaderDataEx redirected = header("x", 0, 2, 0x20);
    for (unsigned int kind : {1u, 2u, 3u}) {
        redirected.RedirType = kind;
        EXPECT_TRUE(IsLinkEntry(redirected)) << kind;
    }
    redirected.RedirType = RAR_REDIR_HARDLINK; // written as a file
    EXPECT_FALSE(IsLinkEntry(redirected));
    EXPECT_TRUE(IsLinkEntry(header("x", 0, 3, 0xA1FF)));
    EXPECT_FALSE(IsLinkEntry(header("x", 0, 2, 0xA1FF))); // a DOS attribute word, not a mode
    EXPECT_FALSE(IsLinkEntry(header("x", 0, 3, 0x81A4)));
}

TEST(EntrySafety, ParentComponents)
{
    EXPECT_TRUE(HasParentComponent("../a"));
    EXPECT_TRUE(HasParentComponent("a/../../b"));
    EXPECT_TRUE(HasParentComponent("a\\..\\b"));
    EXPECT_TRUE(HasParentComponent(".."));
    EXPECT_FALSE(HasParentComponent("a..b/..c/d.."));
    EXPECT_FALSE(HasParentComponent("./a"));
}

TEST(ResultCodes, MapToTheirMessages)
{
    const std::pair<int, int32_t> cases[] = {
        {11, 25153}, {12, 25108}, {13, 25142}, {14, 25142}, {15, 25135}, {16, 25115},
        {17, 25117}, {18, 25136}, {19, 25115}, {0, 0},      {10, 0},     {20, 0},
        {21, 0},     {22, 25190}, {24, 25190}, {-1, 0},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(MessageForRarCode(code), message) << code;
}

} // namespace
