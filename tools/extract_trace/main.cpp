#include "base/local_time_zone.h"
#include "tools/extract_trace/command_line.h"
#include "tools/extract_trace/detect_command.h"
#include "tools/extract_trace/trace_command.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    PinLocalTimeZone();
    // The RAR library converts entry names through the C locale; the
    // installer gets the environment's locale from Qt, and so must this tool.
    std::setlocale(LC_ALL, "");
    const auto command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!command) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    switch (command->mode) {
    case TraceCommand::Mode::Detect:
        return RunDetect(command->archive, std::cout, std::cerr);
    case TraceCommand::Mode::Extract:
        return RunTrace(*command, std::cout, std::cerr);
    }
    return kExitUsage;
}
