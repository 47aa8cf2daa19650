#include "archive/arc_type.h"

#include <array>

namespace {

struct ArcTypeRow {
    std::string_view name;
    std::string_view text;
};

// In ordinal order, one type a line.
// clang-format off
constexpr std::array<ArcTypeRow, kArcTypeCount> kRows{{
    {"atNA", "Not avail."},
    {"atUnsupported", "Unsupport."},
    {"atFileError", "File Error"},
    {"atUnknown", "Unknown   "},
    {"atARC", "ARC       "},
    {"atArcExe", "ARC SFX   "},
    {"atARJ", "ARJ       "},
    {"atArjExe", "ARJ SFX   "},
    {"atBH", "BH        "},
    {"atBHExe", "BH  SFX   "},
    {"atCAB", "CAB       "},
    {"atGZip", "GZip      "},
    {"atHA", "HA        "},
    {"atLHA", "LHA       "},
    {"atLhaExe", "LHA SFX   "},
    {"atLZH", "LZH       "},
    {"atLzhExe", "LZH SFX\t"},
    {"atPAK", "PAK       "},
    {"atPakExe", "PAK SFX   "},
    {"atRAR", "RAR       "},
    {"atRarExe", "RAR SFX   "},
    {"atTAR", "TAR       "},
    {"atUUE", "UUE\t\t  "},
    {"atZIP", "ZIP       "},
    {"atZipExe", "ZIP SFX   "},
    {"atZip250", "ZIP250    "},
    {"atZip250Exe", "ZIP250 SFX"},
    {"atZOO", "ZOO       "},
}};
// clang-format on

const ArcTypeRow& row(TArcType type)
{
    return kRows.at(static_cast<size_t>(type));
}

} // namespace

std::string_view ArcTypeName(TArcType type)
{
    return row(type).name;
}

std::string_view ArcTypeText(TArcType type)
{
    return row(type).text;
}
