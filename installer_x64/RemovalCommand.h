// The 64-bit installer part's command line: "-rdev " followed by the driver INF's path, which arrives
// unquoted and may hold spaces.
#pragma once

#include <optional>
#include <string>

namespace installer {

// The INF path of a whole command line (the program's own name first, quoted or not): everything after
// "-rdev " up to the end, without trailing blanks and without quotes around the whole path if a caller
// added them. None when the line asks for anything else or names no path.
std::optional<std::string> InfPathFromCommandLine(const std::string& commandLine);

}  // namespace installer
