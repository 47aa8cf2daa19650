#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for.
struct TraceCommand {
    enum class Mode { Detect };

    Mode mode = Mode::Detect;
    std::string archive;
};

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kUsage = "usage: extract-trace --detect FILE\n";

// Nothing for a usage error.
std::optional<TraceCommand> ParseCommandLine(const std::vector<std::string>& args);
