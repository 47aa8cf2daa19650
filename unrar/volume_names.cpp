#include "unrar/volume_names.h"

#include <string_view>

namespace zk::unrar {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` ends with `suffix` (given in lower case), letters in any case.
bool endsWithAnyCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (lower(tail[i]) != suffix[i])
            return false;
    }
    return true;
}

std::string incrementDigits(std::string digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return "1" + digits;
}

// "x.part<digits>.rar", the two names in any case; empty for another name.
std::string nextPartName(const std::string& current)
{
    constexpr std::string_view kExtension = ".rar";
    if (!endsWithAnyCase(current, kExtension))
        return {};
    const std::size_t digitsEnd = current.size() - kExtension.size();
    std::size_t digitsBegin = digitsEnd;
    while (digitsBegin > 0 && isDigit(current[digitsBegin - 1]))
        --digitsBegin;
    if (digitsBegin == digitsEnd ||
        !endsWithAnyCase(std::string_view(current).substr(0, digitsBegin), ".part"))
        return {};
    return current.substr(0, digitsBegin) +
           incrementDigits(current.substr(digitsBegin, digitsEnd - digitsBegin)) +
           current.substr(digitsEnd);
}

// "x.<letter><two digits>": the number counts up, then the letter.
std::string nextOldSchemeName(const std::string& current)
{
    const std::size_t n = current.size();
    if (n < 4 || current[n - 4] != '.' || !isLetter(current[n - 3]) || !isDigit(current[n - 2]) ||
        !isDigit(current[n - 1]))
        return {};
    const std::string stem = current.substr(0, n - 2);
    const std::string number = current.substr(n - 2);
    if (number != "99")
        return stem + incrementDigits(number);
    const char letter = current[n - 3];
    if (letter == 'z' || letter == 'Z')
        return {};
    return current.substr(0, n - 3) + static_cast<char>(letter + 1) + "00";
}

} // namespace

std::string nextVolumeName(const std::string& current)
{
    // A name with a line break is no volume of a set in any scheme.
    if (current.find_first_of("\r\n") != std::string::npos)
        return {};
    if (std::string next = nextPartName(current); !next.empty())
        return next;
    // "x.rar" -> "x.r00" ("x.R00" when its first letter is a capital).
    if (endsWithAnyCase(current, ".rar")) {
        const char first = current[current.size() - 3];
        return current.substr(0, current.size() - 3) + (first == 'R' ? "R00" : "r00");
    }
    return nextOldSchemeName(current);
}

} // namespace zk::unrar
