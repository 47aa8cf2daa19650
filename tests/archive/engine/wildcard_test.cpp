#include "archive/engine/wildcard.h"

#include <gtest/gtest.h>

TEST(WildcardMatch, NamesAgainstPatterns)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool nameOnly;
        bool matches;
    };
    const Case cases[] = {
        {"README", "*.*", false, true},
        {"a.txt", "*.*", false, true},
        {"old.dir\\file", "*.*", false, true},
        {"old.dir/file", "*.*", false, true},
        {"", "*.*", false, true},
        {"abc.", "*.*", false, false},
        {"abc.", "abc", false, true},
        {"abc", "abc.", false, true},
        {"notes.txt", "*.TXT", false, true},
        {"notes.txt.bak", "*.TXT", false, false},
        {"a.txt", "?.txt", false, true},
        {"?.txt", "b.txt", false, true},
        {"ab.txt", "?.txt", false, false},
        {"*.txt", "a.txt", false, true},
        {"a*", "*b", false, true},
        {"ABC", "abc", false, true},
        {"\xC9t\xE9", "\xE9t\xE9", false, false},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89t\xC3\xA9", false, false},
        {"caf\xC3\xA9", "caf?", false, true},
        {"caf\xC3\xA9", "caf??", false, false},
        {"", "", false, false},
        {"", "**", false, true},
        {"a", "", false, false},
        {"dir\\a.txt", "a.txt", true, true},
        {"dir\\a.txt", "a.txt", false, false},
        {"dir\\", "*.*", true, false},
        {"x", "*x*x", false, false},
        {"axbxc", "a*b*c", false, true},
        {"abc", "a*", false, true},
        {"", "*", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(WildcardMatch(c.name, c.pattern, c.nameOnly, PathStyle::Posix), c.matches);
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, c.nameOnly, PathStyle::Posix), c.matches)
            << "both sides are treated alike";
    }
}

TEST(WildcardMatch, WindowsStyleCountsBytes)
{
    EXPECT_FALSE(WildcardMatch("caf\xC3\xA9", "caf?", false, PathStyle::Windows));
    EXPECT_TRUE(WildcardMatch("caf\xE9", "caf?", false, PathStyle::Windows));
    EXPECT_TRUE(WildcardMatch("dir/a.txt", "a.txt", true, PathStyle::Windows));
    EXPECT_TRUE(WildcardMatch("old.dir\\file", "*.*", false, PathStyle::Windows));
}

TEST(WildcardMatch, HasWildcards)
{
    EXPECT_TRUE(HasWildcards("*.*"));
    EXPECT_TRUE(HasWildcards("a?c"));
    EXPECT_FALSE(HasWildcards("setup.exe"));
    EXPECT_FALSE(HasWildcards(""));
}

TEST(WildcardMatch, StarsOnBothSidesStayCheap)
{
    std::string starry;
    for (int i = 0; i < 30; ++i)
        starry += "*a";
    const std::string name = std::string(90, 'a') + "x";
    EXPECT_FALSE(WildcardMatch(name, starry + "*y", false)) << "must return, and not match";
    EXPECT_TRUE(WildcardMatch(starry + "*y", "*.*", false));
    EXPECT_TRUE(WildcardMatch(std::string(2000, 'n') + ".txt", "*.*", false));
    EXPECT_TRUE(WildcardMatch(std::string(2000, 'n') + ".txt", "*n.TXT", false));
}
