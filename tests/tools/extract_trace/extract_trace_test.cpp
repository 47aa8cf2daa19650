// extract-trace's command line and its event lines, over the fake library.
#include "tools/extract_trace/command_line.h"
#include "tools/extract_trace/trace_command.h"
#include "tests/support/engine_sandbox.h"
#include "tests/support/fake_rar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

TEST(ExtractTraceCommandLine, ParsesOptionsAndRefusesMisuse)
{
    const auto full =
        ParseCommandLine({"--library", "/l/libunrar.so", "--filespec", "*.txt", "--flat",
                          "--password", "pw", "--step", "25", "--quiet", "a.rar", "dest"});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->mode, TraceCommand::Mode::Extract);
    EXPECT_EQ(full->library, "/l/libunrar.so");
    EXPECT_EQ(full->fileSpec, "*.txt");
    EXPECT_TRUE(full->flat);
    EXPECT_TRUE(full->quiet);
    EXPECT_EQ(full->password, "pw");
    EXPECT_EQ(full->step, 25);
    EXPECT_EQ(full->archive, "a.rar");
    EXPECT_EQ(full->destDir, "dest");

    const auto plain = ParseCommandLine({"a.rar"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->step, 10);
    EXPECT_FALSE(plain->fileSpec);
    EXPECT_TRUE(plain->destDir.empty());

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--step", "7", "a.rar"},
        {"--step"},
        {"a.rar", "b", "c"},
        {"--what", "a.rar"},
        {"--library"},
        {""},
    };
    for (const auto& args : wrong)
        EXPECT_FALSE(ParseCommandLine(args)) << (args.empty() ? "(none)" : args[0]);
}

TEST(ExtractTrace, PrintsEveryEventAndTheSummary)
{
    FakeRar fake;
    EngineSandbox box;
    fake.add(FakeFile("a.txt", 4));
    FakeEntry bad = FakeFile("sub/b.txt", 0);
    bad.extractResult = 19;
    fake.add(bad);
    TraceCommand command = *ParseCommandLine({"--library", fake.path(), box.archive(), box.out()});
    std::ostringstream out, err;
    EXPECT_EQ(RunTrace(command, out, err), kExitFailure);
    const std::string dest = box.root() + "/out/";
    EXPECT_EQ(out.str(), "type atRAR\nactivate\nbegin 1 " + dest + "a.txt\nprogress 100 " + dest +
                             "a.txt\nend ok " + dest + "a.txt\nbegin 2 " + dest +
                             "sub/b.txt\nerror 25115 b.txt\nend fail " + dest +
                             "sub/b.txt\ndeactivate\nsummary extracted=1 failed=1 errors=1\n");

    fake.reset();
    fake.add(FakeFile("a.txt", 4));
    fake.add(FakeFile("sub/c.txt", 4));
    command = *ParseCommandLine(
        {"--library", fake.path(), "--quiet", "--flat", box.archive(), box.out()});
    out.str("");
    EXPECT_EQ(RunTrace(command, out, err), kExitSuccess);
    EXPECT_EQ(out.str(), "summary extracted=2 failed=0 errors=0\n");
    EXPECT_TRUE(std::filesystem::exists(dest + "c.txt"));
}

TEST(ExtractTrace, MissingLibraryIsAnError)
{
    EngineSandbox box;
    TraceCommand command = *ParseCommandLine({"--library", box.root() + "/none.so", box.archive()});
    std::ostringstream out, err;
    EXPECT_EQ(RunTrace(command, out, err), kExitFailure);
    EXPECT_EQ(out.str(),
              "type atRAR\nerror 25158 test.rar\nsummary extracted=0 failed=0 errors=1\n");
}

// The tool takes its locale from the environment, so the public library gets
// UTF-8 names intact instead of refusing them.
TEST(ExtractTrace, NonAsciiNamesReachThePublicLibraryIntact)
{
    const char* library = std::getenv("ZK_PUBLIC_UNRAR");
    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (!library || !*library)
        GTEST_SKIP() << "the public RAR library is not part of this build";
    if (!samples || !std::filesystem::exists(std::string(samples) + "/rar4-unicode-names.rar"))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    EngineSandbox box;
    const std::string archive = box.root() + "/names.rar";
    std::filesystem::copy_file(std::string(samples) + "/rar4-unicode-names.rar", archive);
    const std::string command = "LC_ALL=C.UTF-8 '" + std::string(std::getenv("ZK_BIN_DIR")) +
                                "/extract-trace' --quiet --library '" + library + "' '" + archive +
                                "' '" + box.out() + "' > '" + box.root() + "/summary.txt'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_regular_file(box.out() + "abcdefghijklmnopqrsテスト.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(box.out() + "表だよ/ファイル"));
}

} // namespace
