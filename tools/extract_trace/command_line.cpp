#include "tools/extract_trace/command_line.h"

std::optional<TraceCommand> ParseCommandLine(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "--detect" && !args[1].empty()) {
        TraceCommand command;
        command.mode = TraceCommand::Mode::Detect;
        command.archive = args[1];
        return command;
    }
    return std::nullopt;
}
