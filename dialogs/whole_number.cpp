#include "dialogs/whole_number.h"

#include "archive/exception.h"

#include <optional>

namespace {

int digitValue(QChar c, int base)
{
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < base ? value : -1;
}

// Digits from `at` to the end, in the given base; nullopt when there are none,
// a character is not a digit, or the magnitude exceeds `limit`.
std::optional<uint64_t> parseDigits(const QString& text, qsizetype at, int base, uint64_t limit)
{
    if (at >= text.size())
        return std::nullopt;
    uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = digitValue(text[at], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return magnitude;
}

std::optional<int32_t> parseWholeNumber(const QString& text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    if (at < text.size() && text[at] == u'$') {
        const auto bits = parseDigits(text, at + 1, 16, UINT32_MAX);
        if (!bits)
            return std::nullopt;
        return static_cast<int32_t>(static_cast<uint32_t>(*bits));
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    const uint64_t limit = negative ? uint64_t{INT32_MAX} + 1 : uint64_t{INT32_MAX};
    const auto magnitude = parseDigits(text, at, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude)
                                         : static_cast<int64_t>(*magnitude));
}

} // namespace

int32_t WholeNumber(const QString& text)
{
    if (const auto number = parseWholeNumber(text))
        return *number;
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}
