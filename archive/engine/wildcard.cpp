#include "archive/engine/wildcard.h"

#include "base/path_rules.h"

#include <algorithm>
#include <cstring>

namespace {

// In the POSIX style text is UTF-8, so "?" stands for one whole character;
// the Windows style has one byte per character.
size_t charLength(const std::string& s, size_t at, PathStyle style)
{
    if (style == PathStyle::Windows)
        return 1;
    size_t length = 1;
    while (at + length < s.size() && (static_cast<unsigned char>(s[at + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

bool startsCharacter(const std::string& s, size_t at, PathStyle style)
{
    return style == PathStyle::Windows || at >= s.size() ||
           (static_cast<unsigned char>(s[at]) & 0xC0) != 0x80;
}

char foldAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool onlyStars(const std::string& s, size_t from)
{
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(std::min(from, s.size())), s.end(),
                       [](char c) { return c == '*'; });
}

// A name that ends in "." loses it; a name without "." gets ".*" when the
// other side asks for an extension.
void applyDotRule(std::string& s, const std::string& other)
{
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    else if (s.find('.') == std::string::npos && other.find(".*") != std::string::npos)
        s += ".*";
}

// Stars on both sides make the search exponential in the worst case; a name
// built to exhaust it (stars are legal in stored names) simply does not match.
struct Budget {
    long steps = 20000;
    bool exhausted() const { return steps < 0; }
};

bool match(std::string a, std::string b, bool nameOnly, PathStyle style, Budget& budget);

// One side holds "*" at star; try the rest of that side against every
// position of the other side's rest.
bool matchAfterStar(const std::string& starSide, size_t star, const std::string& other, size_t from,
                    bool nameOnly, PathStyle style, bool starSideIsName, Budget& budget)
{
    if (star + 1 == starSide.size())
        return true;
    const std::string rest = starSide.substr(star + 1);
    for (size_t j = from; j < other.size() && !budget.exhausted(); ++j) {
        if (!startsCharacter(other, j, style))
            continue;
        const std::string otherRest = other.substr(j);
        if (starSideIsName ? match(rest, otherRest, nameOnly, style, budget)
                           : match(otherRest, rest, nameOnly, style, budget))
            return true;
    }
    return false;
}

bool match(std::string a, std::string b, bool nameOnly, PathStyle style, Budget& budget)
{
    if (--budget.steps < 0)
        return false;
    a = SlashToBackslash(a, style);
    b = SlashToBackslash(b, style);
    if (nameOnly) {
        const bool aHadText = !a.empty();
        const bool bHadText = !b.empty();
        a = NamePart(a, style);
        b = NamePart(b, style);
        if ((aHadText && a.empty()) || (bHadText && b.empty()))
            return false;
    }
    applyDotRule(a, b);
    applyDotRule(b, a);

    if (a.empty())
        return !b.empty() && onlyStars(b, 0);
    if (b.empty())
        return onlyStars(a, 0);

    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] == '?' || b[j] == '?') {
            i += a[i] == '?' ? 1 : charLength(a, i, style);
            j += b[j] == '?' ? 1 : charLength(b, j, style);
        } else if (a[i] == '*') {
            return matchAfterStar(a, i, b, j, nameOnly, style, true, budget);
        } else if (b[j] == '*') {
            return matchAfterStar(b, j, a, i, nameOnly, style, false, budget);
        } else if (foldAsciiLetter(a[i]) != foldAsciiLetter(b[j])) {
            return false;
        } else {
            ++i;
            ++j;
        }
    }
    return onlyStars(b, j) && onlyStars(a, i);
}

} // namespace

bool WildcardMatch(const std::string& name, const std::string& fileSpec, bool nameOnly,
                   PathStyle style)
{
    // The usual pattern, asked once per entry: "*.*" takes every plain name
    // that does not end in "." (a name without "." gets the extension ".*").
    if (!nameOnly && fileSpec == "*.*" && (name.empty() || name.back() != '.') &&
        !HasWildcards(name))
        return true;
    Budget budget;
    return match(name, fileSpec, nameOnly, style, budget);
}

bool HasWildcards(std::string_view fileSpec)
{
    // Asked of every entry's name: the C library looks for each faster than a loop.
    return std::memchr(fileSpec.data(), '*', fileSpec.size()) ||
           std::memchr(fileSpec.data(), '?', fileSpec.size());
}
