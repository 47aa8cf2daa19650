#pragma once

#include <cstdint>
#include <string_view>

// Archive types as detection reports them; the ordinals are fixed.
enum class TArcType : uint8_t {
    atNA,
    atUnsupported,
    atFileError,
    atUnknown,
    atARC,
    atArcExe,
    atARJ,
    atArjExe,
    atBH,
    atBHExe,
    atCAB,
    atGZip,
    atHA,
    atLHA,
    atLhaExe,
    atLZH,
    atLzhExe,
    atPAK,
    atPakExe,
    atRAR,
    atRarExe,
    atTAR,
    atUUE,
    atZIP,
    atZipExe,
    atZip250,
    atZip250Exe,
    atZOO,
};

inline constexpr int kArcTypeCount = static_cast<int>(TArcType::atZOO) + 1;

// The enumerator's own name, e.g. "atRAR".
std::string_view ArcTypeName(TArcType type);

// The fixed display text of a type, padding and tabs included.
std::string_view ArcTypeText(TArcType type);
