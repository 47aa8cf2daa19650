#include "tools/extract_trace/command_line.h"

namespace {

std::optional<int> parseStep(const std::string& text)
{
    for (int step : {5, 10, 15, 20, 25}) {
        if (text == std::to_string(step))
            return step;
    }
    return std::nullopt;
}

} // namespace

std::optional<TraceCommand> ParseCommandLine(const std::vector<std::string>& args)
{
    TraceCommand command;
    if (args.size() == 2 && args[0] == "--detect" && !args[1].empty()) {
        command.mode = TraceCommand::Mode::Detect;
        command.archive = args[1];
        return command;
    }
    command.mode = TraceCommand::Mode::Extract;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--flat") {
            command.flat = true;
        } else if (arg == "--quiet") {
            command.quiet = true;
        } else if (arg == "--library" && hasValue) {
            command.library = args[++i];
        } else if (arg == "--filespec" && hasValue) {
            command.fileSpec = args[++i];
        } else if (arg == "--password" && hasValue) {
            command.password = args[++i];
        } else if (arg == "--step" && hasValue) {
            const auto step = parseStep(args[++i]);
            if (!step)
                return std::nullopt;
            command.step = *step;
        } else if (arg.rfind("--", 0) == 0) {
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2 || positional[0].empty())
        return std::nullopt;
    command.archive = positional[0];
    if (positional.size() == 2)
        command.destDir = positional[1];
    return command;
}
