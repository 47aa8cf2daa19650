#include "config/config_paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    PathStyle style;
    const char* input;
    const char* base; // the executable's path, or the current directory
    const char* expected;
};

std::string styleName(PathStyle style)
{
    return style == PathStyle::Windows ? "windows" : "posix";
}

class PathInExeFolderTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathInExeFolderTest, PutsTheNameIntoTheExecutablesFolder)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(PathInExeFolder(QString::fromUtf8(c.input), QString::fromUtf8(c.base), c.style),
              QString::fromUtf8(c.expected))
        << styleName(c.style) << " " << c.input << " beside " << c.base;
}

INSTANTIATE_TEST_SUITE_P(
    BothStyles, PathInExeFolderTest,
    testing::Values(
        PathCase{PathStyle::Windows, "install.ini", "C:\\Setup\\install.exe",
                 "C:\\Setup\\install.ini"},
        PathCase{PathStyle::Windows, "install.ini", "C:\\install.exe", "C:\\install.ini"},
        PathCase{PathStyle::Windows, "data\\game.rar", "C:\\Setup\\install.exe",
                 "C:\\Setup\\data\\game.rar"},
        PathCase{PathStyle::Windows, "", "C:\\Setup\\install.exe", "C:\\Setup\\"},
        PathCase{PathStyle::Windows, "", "C:\\install.exe", "C:\\"},
        PathCase{PathStyle::Windows, "D:\\a.rar", "C:\\Setup\\install.exe", "C:\\Setup\\D:\\a.rar"},
        PathCase{PathStyle::Windows, "x.ini", "C:\\a\\b\\c\\setup.exe", "C:\\a\\b\\c\\x.ini"},
        PathCase{PathStyle::Posix, "install.ini", "/opt/setup/setup", "/opt/setup/install.ini"},
        PathCase{PathStyle::Posix, "install.ini", "/setup", "/install.ini"},
        PathCase{PathStyle::Posix, "data\\game.rar", "/opt/setup/setup",
                 "/opt/setup/data/game.rar"},
        PathCase{PathStyle::Posix, "", "/opt/setup/setup", "/opt/setup/"},
        PathCase{PathStyle::Posix, "", "/setup", "/"},
        PathCase{PathStyle::Posix, "/a.rar", "/opt/setup/setup", "/opt/setup//a.rar"}));

class ExpandPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(ExpandPathTest, GivesAFullPath)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(ExpandPath(QString::fromUtf8(c.input), QString::fromUtf8(c.base), c.style,
                         QStringLiteral("/home/user")),
              QString::fromUtf8(c.expected))
        << styleName(c.style) << " " << c.input << " in " << c.base;
}

INSTANTIATE_TEST_SUITE_P(
    BothStyles, ExpandPathTest,
    testing::Values(PathCase{PathStyle::Windows, "Games\\X", "D:\\", "D:\\Games\\X"},
                    PathCase{PathStyle::Windows, "Games\\X", "D:\\work", "D:\\work\\Games\\X"},
                    PathCase{PathStyle::Windows, "Games", "D:\\work\\", "D:\\work\\Games"},
                    PathCase{PathStyle::Windows, "C:\\Games\\SomeGame", "E:\\w",
                             "C:\\Games\\SomeGame"},
                    PathCase{PathStyle::Windows, "C:\\a\\..\\b\\.\\c\\", "D:\\", "C:\\b\\c\\"},
                    PathCase{PathStyle::Windows, "C:/x/y", "D:\\", "C:\\x\\y"},
                    PathCase{PathStyle::Windows, "\\Games", "D:\\work", "D:\\Games"},
                    PathCase{PathStyle::Windows, "..\\..\\..", "D:\\a", "D:\\"},
                    PathCase{PathStyle::Windows, "Games\\", "D:\\", "D:\\Games\\"},
                    PathCase{PathStyle::Windows, "d:x", "D:\\work", "D:\\work\\x"},
                    PathCase{PathStyle::Windows, "e:x", "D:\\work", "E:\\x"},
                    PathCase{PathStyle::Windows, "", "D:\\", ""},
                    PathCase{PathStyle::Windows, "~\\Games", "D:\\", "D:\\~\\Games"},
                    PathCase{PathStyle::Posix, "Games\\X", "/media/d", "/media/d/Games/X"},
                    PathCase{PathStyle::Posix, "Games/X", "/", "/Games/X"},
                    PathCase{PathStyle::Posix, "/opt/a/../b/", "/home", "/opt/b/"},
                    PathCase{PathStyle::Posix, "../../..", "/a", "/"},
                    PathCase{PathStyle::Posix, "./x/./y", "/a//b", "/a/b/x/y"},
                    PathCase{PathStyle::Posix, "", "/a", ""},
                    // The user's home, however the rest is written.
                    PathCase{PathStyle::Posix, "~/Games/X", "/a", "/home/user/Games/X"},
                    PathCase{PathStyle::Posix, "~\\Games\\X\\", "/a", "/home/user/Games/X/"},
                    PathCase{PathStyle::Posix, "~", "/a", "/home/user"},
                    PathCase{PathStyle::Posix, "~/../x", "/a", "/home/x"},
                    PathCase{PathStyle::Posix, "~x/y", "/a", "/a/~x/y"},
                    PathCase{PathStyle::Posix, "/opt/~/x", "/a", "/opt/~/x"}));

} // namespace
