#pragma once

#include <ostream>
#include <string>

// Sets ArchiveFile and prints "type <TArcType name>"; an error the component
// reports is printed as an "error" line. Answers the exit status.
int RunDetect(const std::string& archive, std::ostream& out, std::ostream& err);
