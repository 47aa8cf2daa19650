#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct TraceCommand {
    enum class Mode { Detect, Extract };

    Mode mode = Mode::Detect;
    std::string archive;
    std::string destDir; // empty: the component's own default
    std::string library; // empty: beside the executable, then the system search
    std::optional<std::string> fileSpec;
    std::string password;
    int step = 10;
    bool flat = false;
    bool quiet = false;
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kUsage =
    "usage: extract-trace [--library PATH] [--filespec SPEC] [--flat] [--password TEXT]\n"
    "                     [--step 5|10|15|20|25] [--quiet] ARCHIVE [DESTDIR]\n"
    "       extract-trace --detect FILE\n";

// Nothing for a usage error.
std::optional<TraceCommand> ParseCommandLine(const std::vector<std::string>& args);
