#include "archive/detection/signature_probe.h"

#include <cstring>

namespace {

// The archive start that a signature implies, where it is fixed by the format.
int64_t startFor(const Four& bytes, int64_t found)
{
    const bool arcExeStub = bytes[0] == 0xB7 && (bytes[1] == 0x92 || bytes[1] == 0xDF);
    return arcExeStub ? kArcExeDataOffset : found;
}

} // namespace

bool StartsWith(const uint8_t* p, size_t available, std::string_view signature)
{
    return available >= signature.size() && std::memcmp(p, signature.data(), signature.size()) == 0;
}

std::optional<Four> ReadFour(ArchiveSource& source, int64_t position)
{
    Four bytes{};
    const auto got = source.ReadAt(position, bytes.data(), bytes.size());
    if (!got || *got != bytes.size())
        return std::nullopt;
    return bytes;
}

void ClassifyAt(const Four& bytes, int64_t position, SignaturePosition kind, Detection& result)
{
    result.type = ClassifySignature(bytes, kind);
    if (result.type != TArcType::atUnknown && result.type != TArcType::atNA)
        result.archiveOffset = startFor(bytes, position);
}
