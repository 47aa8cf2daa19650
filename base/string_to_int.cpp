#include "base/string_to_int.h"

namespace {

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::optional<int32_t> StringToInt(const std::string& text, IntegerSyntax syntax)
{
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos)
        return std::nullopt;
    bool negative = false;
    const bool signedText = text[at] == '+' || text[at] == '-';
    if (signedText)
        negative = text[at++] == '-';
    int base = 10;
    if (at < text.size() && text[at] == '$' && (syntax.signedHex || !signedText)) {
        base = 16;
        ++at;
    }
    if (at == text.size())
        return std::nullopt;

    // A bit pattern may fill all 32 bits; a signed value reaches 2^31 only when negative.
    const bool bits = base == 16 && syntax.hexAllBits;
    const uint64_t limit = bits ? UINT32_MAX : (negative ? uint64_t{INT32_MAX} + 1 : INT32_MAX);
    uint64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = digitValue(text[at], base);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (magnitude > limit)
            return std::nullopt;
    }
    const auto pattern = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - pattern : pattern);
}
