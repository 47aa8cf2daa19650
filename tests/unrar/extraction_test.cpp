// Extraction through the exported entry points on archives made by the
// test-archive writer: destinations, modes, times, callbacks, write errors.

#include "tests/support/current_directory_guard.h"
#include "tests/unrar/writer_archives.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;
using rarwriter::Entry;
using rarwriter::Host;

TEST(WriterArchives, RoundTripNamesContentsFlagsAndTimes)
{
    TempFolder dir;
    Entry early = file("docs/readme.txt", "read me\n");
    early.dosTime = 0x5A8C6B25; // 2025-04-12 13:25:10
    Entry windows = file("win\\dir\\a.bin", std::string("\0\1\2", 3));
    windows.name = "win/dir/a.bin";
    windows.host = Host::Windows;
    const fs::path archive = writeArchive(dir, {early, folder("docs"), windows, file("empty", ""),
                                                file(std::string(300, 'n'), "long name")});
    const fs::path out = dir / "out";
    const Listing listing = walk(archive, RAR_EXTRACT, out.string());

    ASSERT_EQ(listing.entries.size(), 5u);
    EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
    EXPECT_EQ(listing.entries[0].name, "docs/readme.txt");
    EXPECT_EQ(listing.entries[0].time, 0x5A8C6B25u);
    EXPECT_EQ(listing.entries[0].size, 8u);
    EXPECT_EQ(listing.entries[1].flags, unsigned{RHDF_DIRECTORY});
    EXPECT_EQ(listing.entries[2].name, "win/dir/a.bin");
    EXPECT_EQ(listing.entries[3].size, 0u);
    EXPECT_EQ(listing.entries[4].name, std::string(RAR_NAME_SIZE - 1, 'n'));
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(listing.entries[i].processResult, ERAR_SUCCESS) << i;

    EXPECT_EQ(readFile(out / "docs/readme.txt"), "read me\n");
    EXPECT_EQ(readFile(out / "win/dir/a.bin"), std::string("\0\1\2", 3));
    EXPECT_EQ(readFile(out / "empty"), "");
    struct stat st {};
    ASSERT_EQ(stat((out / "docs/readme.txt").c_str(), &st), 0);
    struct tm local {};
    localtime_r(&st.st_mtime, &local);
    EXPECT_EQ(local.tm_year + 1900, 2025);
    EXPECT_EQ(local.tm_mon + 1, 4);
    EXPECT_EQ(local.tm_mday, 12);
    EXPECT_EQ(local.tm_hour, 13);
    EXPECT_EQ(local.tm_min, 25);
    EXPECT_EQ(local.tm_sec, 10);
}

TEST(WriterArchives, HeadersCarryTheStoredFields)
{
    TempFolder dir;
    Entry windows = file("w/ro.txt", "read only", 0x21u);
    windows.host = Host::Windows;
    windows.dosTime = 0x5A8C6B25;
    Entry unixFolder = folder("u");
    unixFolder.attr = 040700u;
    const Listing listing = walk(writeArchive(dir, {windows, unixFolder}));
    ASSERT_EQ(listing.entries.size(), 2u);
    const ListedEntry& w = listing.entries[0];
    EXPECT_EQ(w.host, unsigned{RAR_HOST_WIN32});
    EXPECT_EQ(w.attr, 0x21u);
    EXPECT_EQ(w.size, 9u);
    EXPECT_EQ(w.packSize, 9u);
    EXPECT_EQ(w.crc, 0x1EAF9877u); // CRC-32 of "read only"
    EXPECT_EQ(w.method, 0x30u);
    EXPECT_EQ(w.time, 0x5A8C6B25u);
    EXPECT_EQ(listing.entries[1].host, unsigned{RAR_HOST_UNIX});
    EXPECT_EQ(listing.entries[1].attr, 040700u);
    EXPECT_EQ(listing.entries[1].flags, unsigned{RHDF_DIRECTORY});
}

TEST(WriterArchives, LongNamesAreCutAtACharacterBoundary)
{
    TempFolder dir;
    // 258 ASCII bytes and then a three-byte character that does not fit.
    const std::string name = std::string(258, 'a') + "\xE6\xBC\xA2.txt";
    const Listing listing = walk(writeArchive(dir, {file(name, "x")}));
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].name, std::string(258, 'a'));
}

TEST(WriterArchives, ModesAreAppliedWithoutSpecialBits)
{
    struct Case {
        std::uint32_t stored;
        unsigned expected;
    };
    const std::vector<Case> cases = {
        {0100644, 0644}, {0100755, 0755}, {0104755, 0755},
        {0102750, 0750}, {0101777, 0777}, {0100400, 0400},
    };
    TempFolder dir;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < cases.size(); ++i)
        entries.push_back(file("f" + std::to_string(i), "data", cases[i].stored));
    const Listing listing = walk(writeArchive(dir, entries), RAR_EXTRACT, (dir / "out").string());
    ASSERT_EQ(listing.entries.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(listing.entries[i].attr, cases[i].stored);
        struct stat st {};
        ASSERT_EQ(stat((dir / "out" / ("f" + std::to_string(i))).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, cases[i].expected);
    }
}

TEST(WriterArchives, DestNameIsWrittenExactlyWithMissingFoldersCreated)
{
    TempFolder dir;
    OpenArchive archive(writeArchive(dir, {file("stored/name.txt", "payload")}));
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    const fs::path target = dir / "deep" / "new" / "renamed.dat";
    EXPECT_EQ(archive.process(RAR_EXTRACT, (dir / "ignored").string(), target.string()),
              ERAR_SUCCESS);
    EXPECT_EQ(readFile(target), "payload");
    EXPECT_FALSE(fs::exists(dir / "ignored" / "stored"));
    EXPECT_EQ(archive.next(), ERAR_END_ARCHIVE);
}

TEST(WriterArchives, BareDestNameIsWrittenInTheCurrentFolder)
{
    TempFolder dir;
    OpenArchive archive(writeArchive(dir, {file("stored.txt", "here")}));
    int result = -1;
    {
        CurrentDirectoryGuard keepDirectory;
        fs::current_path(dir.path());
        ASSERT_EQ(archive.next(), ERAR_SUCCESS);
        result = archive.process(RAR_EXTRACT, {}, "bare.txt");
    }
    EXPECT_EQ(result, ERAR_SUCCESS);
    EXPECT_EQ(readFile(dir / "bare.txt"), "here");
}

TEST(WriterArchives, DotDotPartsAreDroppedBelowDestPath)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"../escape.txt", "escape.txt"},
        {"a/../../b/c.txt", "a/b/c.txt"},
        {"/abs/path.txt", "abs/path.txt"},
        {"./x/./y.txt", "x/y.txt"},
    };
    TempFolder dir;
    std::vector<Entry> entries;
    entries.reserve(std::size(cases) + 1);
    for (const auto& [stored, _] : cases)
        entries.push_back(file(stored, stored));
    entries.push_back(file("..", "nothing left"));
    const fs::path out = dir / "box" / "out";
    const Listing listing = walk(writeArchive(dir, entries), RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].first);
        EXPECT_EQ(listing.entries[i].processResult, ERAR_SUCCESS);
        EXPECT_EQ(readFile(out / cases[i].second), cases[i].first);
    }
    EXPECT_EQ(listing.entries.back().processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::exists(dir / "box" / "escape.txt"));
    EXPECT_FALSE(fs::exists(dir / "box" / "b"));
}

TEST(WriterArchives, ExistingLinkAtTheDestinationIsReplacedNotFollowed)
{
    TempFolder dir;
    const fs::path out = dir / "out";
    fs::create_directories(out);
    writeFile(dir / "outside.txt", "keep");
    fs::create_symlink(dir / "outside.txt", out / "file.txt");
    const Listing listing =
        walk(writeArchive(dir, {file("file.txt", "new")}), RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
    EXPECT_EQ(readFile(dir / "outside.txt"), "keep");
    EXPECT_FALSE(fs::is_symlink(out / "file.txt"));
    EXPECT_EQ(readFile(out / "file.txt"), "new");
}

TEST(WriterArchives, FolderLinkInTheDestinationCannotCarryFilesOutside)
{
    TempFolder dir;
    const fs::path out = dir / "out";
    fs::create_directories(out);
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", out / "sub");
    const Listing listing =
        walk(writeArchive(dir, {file("sub/planted.txt", "x")}), RAR_EXTRACT, out.string());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_ECREATE);
    EXPECT_FALSE(fs::exists(dir / "elsewhere" / "planted.txt"));
}

// The data callback: every unpacked byte passes through it; 0 stops the work.
std::string g_seen;
int g_stopAfterCalls = -1;

int recordData(unsigned char* address, int size)
{
    g_seen.append(reinterpret_cast<const char*>(address), static_cast<std::size_t>(size));
    return --g_stopAfterCalls == 0 ? 0 : 1;
}

TEST(WriterArchives, DataCallbackSeesEveryByteForTestAndExtract)
{
    TempFolder dir;
    std::string big(700 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    const fs::path path = writeArchive(dir, {file("big.bin", big), file("small.txt", "tail")});
    for (const int operation : {RAR_TEST, RAR_EXTRACT}) {
        SCOPED_TRACE(operation);
        g_seen.clear();
        g_stopAfterCalls = -1;
        OpenArchive archive(path);
        rar().RARSetProcessDataProc(archive.handle(), recordData);
        while (archive.next() == ERAR_SUCCESS)
            EXPECT_EQ(archive.process(operation, (dir / "out").string()), ERAR_SUCCESS);
        EXPECT_EQ(g_seen, big + "tail");
    }
    EXPECT_EQ(readFile(dir / "out" / "big.bin"), big);
}

TEST(WriterArchives, DataCallbackReturningZeroAnswers21AndRemovesThePartialFile)
{
    TempFolder dir;
    const std::string big(2 * 1024 * 1024, 'z');
    const fs::path path = writeArchive(dir, {file("big.bin", big), file("next.txt", "next")});
    OpenArchive archive(path);
    rar().RARSetProcessDataProc(archive.handle(), recordData);
    g_seen.clear();
    g_stopAfterCalls = 1;
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_EQ(archive.process(RAR_EXTRACT, (dir / "out").string()), ERAR_UNKNOWN);
    EXPECT_LT(g_seen.size(), big.size());
    EXPECT_FALSE(fs::exists(dir / "out" / "big.bin"));
    // The handle goes on with the next entry.
    g_stopAfterCalls = -1;
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_STREQ(archive.header.FileName, "next.txt");
    EXPECT_EQ(archive.process(RAR_EXTRACT, (dir / "out").string()), ERAR_SUCCESS);
    EXPECT_EQ(readFile(dir / "out" / "next.txt"), "next");
}

TEST(WriterArchives, EncryptedEntriesAnswerByPasswordState)
{
    TempFolder dir;
    Entry secret = file("secret.txt", "scrambled bytes");
    secret.encrypted = true;
    const fs::path path = writeArchive(dir, {secret, file("after.txt", "x")});
    for (const bool withPassword : {false, true}) {
        SCOPED_TRACE(withPassword);
        OpenArchive archive(path);
        if (withPassword) {
            std::string password = "guess";
            rar().RARSetPassword(archive.handle(), password.data());
        }
        ASSERT_EQ(archive.next(), ERAR_SUCCESS);
        EXPECT_EQ(archive.header.Flags & RHDF_ENCRYPTED, unsigned{RHDF_ENCRYPTED});
        EXPECT_EQ(archive.process(RAR_EXTRACT, (dir / "out").string()),
                  withPassword ? ERAR_UNKNOWN_FORMAT : ERAR_MISSING_PASSWORD);
        EXPECT_FALSE(fs::exists(dir / "out" / "secret.txt"));
        // Without a password the handle gives up; with one, it goes on.
        ASSERT_EQ(archive.next(), withPassword ? ERAR_SUCCESS : ERAR_BAD_DATA);
        if (withPassword) {
            EXPECT_STREQ(archive.header.FileName, "after.txt");
        }
    }
    // Passing over it leaves the handle usable.
    OpenArchive archive(path);
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_EQ(archive.process(RAR_SKIP, {}), ERAR_SUCCESS);
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_STREQ(archive.header.FileName, "after.txt");
}

// A child process with a small file-size limit; SIGXFSZ ignored so that the
// write fails with an error instead of killing it.
int extractUnderSizeLimit(const fs::path& archive, const fs::path& out, rlim_t limit)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit small {
            limit, limit
        };
        setrlimit(RLIMIT_FSIZE, &small);
        const Listing listing = walk(archive, RAR_EXTRACT, out.string());
        const bool partialGone = !fs::exists(out / "big.bin");
        _exit(listing.entries.empty() ? 100
                                      : listing.entries[0].processResult + (partialGone ? 0 : 50));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WriterArchives, FullDiskAnswersWriteError)
{
    TempFolder dir;
    const fs::path path = writeArchive(dir, {file("big.bin", std::string(1024 * 1024, 'b'))});
    rar(); // bind before forking
    EXPECT_EQ(extractUnderSizeLimit(path, dir / "out", 64 * 1024), ERAR_EWRITE);
}

TEST(WriterArchives, UnwritableDestinationAnswersCreateError)
{
    TempFolder dir;
    writeFile(dir / "blocker", "a file where a folder should be");
    const Listing listing =
        walk(writeArchive(dir, {file("x.txt", "x")}), RAR_EXTRACT, (dir / "blocker").string());
    ASSERT_EQ(listing.entries.size(), 1u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_ECREATE);
}

TEST(WriterArchives, EntriesMustBeReadBeforeTheyAreProcessed)
{
    TempFolder dir;
    OpenArchive archive(writeArchive(dir, {file("a", "a")}));
    EXPECT_NE(archive.process(RAR_SKIP, {}), ERAR_SUCCESS);
    ASSERT_EQ(archive.next(), ERAR_SUCCESS);
    EXPECT_EQ(archive.process(RAR_SKIP, {}), ERAR_SUCCESS);
    EXPECT_NE(archive.process(RAR_SKIP, {}), ERAR_SUCCESS);
    EXPECT_EQ(archive.next(), ERAR_END_ARCHIVE);
}

} // namespace
} // namespace zk::unrar::testing
