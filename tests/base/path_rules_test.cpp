#include "base/path_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr PathStyle W = PathStyle::Windows;
constexpr PathStyle P = PathStyle::Posix;

} // namespace

TEST(PathRules, FolderAndNameParts)
{
    struct Case {
        PathStyle style;
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {W, "E:\\a\\b.rar", "E:\\a", "b.rar"},
        {W, "E:\\b.rar", "E:\\", "b.rar"},
        {W, "E:b.rar", "E:", "b.rar"},
        {W, "b.rar", "", "b.rar"},
        {W, "\\b.rar", "", "b.rar"},
        {W, "\\\\srv\\b.rar", "\\\\srv", "b.rar"},
        {W, "a\\\\b.rar", "a\\\\", "b.rar"},
        {W, "a/b.rar", "", "a/b.rar"},
        {W, "E:\\a\\", "E:\\a", ""},
        {P, "/a/b.rar", "/a", "b.rar"},
        {P, "/b.rar", "/", "b.rar"},
        {P, "b.rar", "", "b.rar"},
        {P, "a\\b.rar", "", "a\\b.rar"},
        {P, "E:b.rar", "", "E:b.rar"},
        {P, "a//b", "a//", "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FolderPart(c.path, c.style), c.folder);
        EXPECT_EQ(NamePart(c.path, c.style), c.name);
    }
}

TEST(PathRules, SeparatorsAndExtensions)
{
    EXPECT_EQ(SlashToBackslash("D:/setup/game.rar", W), "D:\\setup\\game.rar");
    EXPECT_EQ(SlashToBackslash("D:\\setup/game.rar", P), "D:/setup/game.rar");
    EXPECT_EQ(AppendBackslash("", W), "");
    EXPECT_EQ(AppendBackslash("E:", W), "E:\\");
    EXPECT_EQ(AppendBackslash("E:\\", W), "E:\\");
    EXPECT_EQ(AppendBackslash("/tmp", P), "/tmp/");
    EXPECT_EQ(AppendBackslash("/", P), "/");
    EXPECT_EQ(ExtensionPart("a.b\\c", W), "");
    EXPECT_EQ(ExtensionPart("a.b/c.tar.gz", P), ".gz");
    EXPECT_EQ(ExtensionPart("x.", P), ".");
}

TEST(PathRules, ExtractDirFor)
{
    struct Case {
        PathStyle style;
        const char* dir;
        const char* archive;
        const char* expected;
    };
    const Case cases[] = {
        {W, "E:/Games", "", "E:\\Games\\"},
        {W, "E:\\", "", "E:\\"},
        {W, "", "setup.rar", ""},
        {W, "", "D:\\setup\\game.rar", "D:\\setup\\"},
        {W, "", "D:\\game.rar", "D:\\"},
        {W, "", "", ""},
        // Natively a chosen folder is the file system's name: never split at "\".
        {P, "/opt\\games", "", "/opt\\games/"},
        {P, "/t/x\\..\\..\\escaped", "", "/t/x\\..\\..\\escaped/"},
        {P, "", "/srv/game.rar", "/srv/"},
        {P, "", "/game.rar", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dir) + " | " + c.archive);
        EXPECT_EQ(ExtractDirFor(c.dir, c.archive, c.style), c.expected);
    }
}

TEST(PathRules, DestinationPath)
{
    struct Case {
        PathStyle style;
        const char* stored;
        const char* extractDir;
        bool storedDirs;
        const char* expected;
    };
    const Case cases[] = {
        {W, "data\\maps\\a.map", "D:\\Games\\", true, "D:\\Games\\data\\maps\\a.map"},
        {W, "data\\maps\\a.map", "D:\\Games\\", false, "D:\\Games\\a.map"},
        {W, "E:\\x\\y.txt", "D:\\Games\\", true, "D:\\Games\\x\\y.txt"},
        {W, "E:y.txt", "D:\\Games\\", true, "D:\\Games\\y.txt"},
        {W, "\\y.txt", "D:\\Games\\", true, "D:\\Games\\y.txt"},
        {W, "y.txt", "Games\\", true, "\\Games\\y.txt"},
        {W, "..\\..\\evil.txt", "D:\\Games\\", true, "D:\\Games\\..\\..\\evil.txt"},
        {W, "a\\..\\b\\.\\c.txt", "D:\\Games\\", true, "D:\\Games\\a\\..\\b\\.\\c.txt"},
        {W, "a/b.txt", "D:\\G\\", true, "D:\\G\\a\\b.txt"},
        {W, "E:\\x\\y.txt", "D:\\G\\", false, "D:\\G\\y.txt"},
        {W, ":b.b", "D:\\G\\", false, "D:\\G\\b.b"},
        {W, ":b.b", "D:\\G\\", true, "D:\\G\\.b"},
        {W, ":", "D:\\G\\", true, "D:\\G\\"},
        {W, ":", "D:\\G\\", false, "D:\\G\\"},
        {W, "", "D:\\G\\", true, ""},
        {P, "data/maps/a.map", "/opt/g/", true, "/opt/g/data/maps/a.map"},
        {P, "data/maps/a.map", "/opt/g/", false, "/opt/g/a.map"},
        {P, "/etc/passwd", "/opt/g/", true, "/opt/g/etc/passwd"},
        {P, "../../etc/passwd", "/opt/g/", true, "/opt/g/../../etc/passwd"},
        {P, "E:x.txt", "/opt/g/", true, "/opt/g/E:x.txt"},
        {P, "y.txt", "rel/", true, "/rel/y.txt"},
        {P, "back\\slash.txt", "/opt/g\\h/", true, "/opt/g\\h/back\\slash.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(DestinationPath(c.stored, c.extractDir, c.storedDirs, c.style), c.expected);
    }
}

TEST(PathRules, DestinationPathIsDefinedForEveryShortName)
{
    // Every name of up to three characters from the ones the rules look at.
    const std::string alphabet = ":\\/a.";
    std::vector<std::string> names{""};
    for (size_t from = 0; names[from].size() < 3; ++from) {
        for (char c : alphabet)
            names.push_back(names[from] + c);
    }
    const struct {
        PathStyle style;
        const char* extractDir;
    } targets[] = {{W, "D:\\G\\"}, {P, "/opt/g/"}};
    for (const auto& target : targets) {
        for (const std::string& name : names) {
            for (bool storedDirs : {true, false}) {
                SCOPED_TRACE(name + (storedDirs ? " with folders" : " flat"));
                std::string path;
                ASSERT_NO_THROW(
                    path = DestinationPath(name, target.extractDir, storedDirs, target.style));
                EXPECT_EQ(path.rfind(target.extractDir, 0), name.empty() ? std::string::npos : 0u);
            }
        }
    }
}
