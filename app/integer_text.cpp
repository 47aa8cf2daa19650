#include "app/integer_text.h"

#include "archive/exception.h"

namespace {

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> TryStrToInt(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';

    const bool hex = i < text.size() && text[i] == u'$';
    if (hex)
        ++i;
    if (i == text.size())
        return std::nullopt;

    // Hexadecimal may fill all 32 bits; decimal may reach 2^31 only when negative.
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || (!hex && digit > 9))
            return std::nullopt;
        value = value * (hex ? 16 : 10) + std::uint64_t(digit);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

std::int32_t StrToInt(const QString& text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

std::int32_t StrToIntDef(const QString& text, std::int32_t fallback)
{
    return TryStrToInt(text).value_or(fallback);
}
