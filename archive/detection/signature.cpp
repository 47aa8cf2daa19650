#include "archive/detection/signature.h"

namespace {

using Bytes = std::array<uint8_t, 4>;

struct SignatureRow {
    bool (*fits)(const Bytes&);
    TArcType atStart;
    TArcType inExecutable;
};

bool first(const Bytes& b, uint8_t b0, uint8_t b1)
{
    return b[0] == b0 && b[1] == b1;
}
bool all(const Bytes& b, uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3)
{
    return first(b, b0, b1) && b[2] == b2 && b[3] == b3;
}

// Tested in this order; the first row that fits decides.
constexpr SignatureRow kRows[] = {
    {[](const Bytes& b) { return first(b, 0x50, 0x4B) && !(b[2] == 0x47 && b[3] == 0x34); },
     TArcType::atZIP, TArcType::atZipExe},
    {[](const Bytes& b) { return all(b, 0x00, 0x00, 0x00, 0x50); }, TArcType::atZip250,
     TArcType::atZip250Exe},
    {[](const Bytes& b) { return all(b, 'M', 'S', 'C', 'F'); }, TArcType::atCAB, TArcType::atNA},
    {[](const Bytes& b) { return all(b, 0x42, 0x48, 0x05, 0x07); }, TArcType::atBH,
     TArcType::atBHExe},
    {[](const Bytes& b) { return first(b, 'H', 'A'); }, TArcType::atHA, TArcType::atNA},
    {[](const Bytes& b) {
         return b[0] == 0x1F &&
                (b[1] == 0x8B || b[1] == 0x9D || b[1] == 0x9E || b[1] == 0x1E || b[1] == 0xA0);
     },
     TArcType::atGZip, TArcType::atNA},
    {[](const Bytes& b) { return first(b, 0x60, 0xEA); }, TArcType::atARJ, TArcType::atArjExe},
    {[](const Bytes& b) { return first(b, 'Z', 'O'); }, TArcType::atZOO, TArcType::atNA},
    {[](const Bytes& b) { return b[2] == '-' && b[3] == 'l'; }, TArcType::atLHA,
     TArcType::atLhaExe},
    {[](const Bytes& b) { return first(b, 'R', 'a'); }, TArcType::atRAR, TArcType::atRarExe},
    {[](const Bytes& b) { return first(b, 0x1A, 0x0A) || first(b, 0x1A, 0x0B); }, TArcType::atPAK,
     TArcType::atPakExe},
    {[](const Bytes& b) { return first(b, 0x1A, 0x1E); }, TArcType::atARC, TArcType::atNA},
    {[](const Bytes& b) { return first(b, 0x1A, 0x08) || first(b, 0x1A, 0x09); }, TArcType::atARC,
     TArcType::atArcExe},
    {[](const Bytes& b) { return first(b, 0xB7, 0x92) || first(b, 0xB7, 0xDF); },
     TArcType::atArcExe, TArcType::atArcExe},
};

} // namespace

TArcType ClassifySignature(const std::array<uint8_t, 4>& bytes, SignaturePosition position)
{
    for (const SignatureRow& row : kRows) {
        if (row.fits(bytes))
            return position == SignaturePosition::StartOfFile ? row.atStart : row.inExecutable;
    }
    return TArcType::atUnknown;
}
