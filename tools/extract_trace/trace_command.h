#pragma once

#include "tools/extract_trace/command_line.h"

#include <ostream>

// Extracts the archive with every event handler of a TUnRAR assigned and
// prints one line per event (or only the summary); answers the exit status.
int RunTrace(const TraceCommand& command, std::ostream& out, std::ostream& err);
