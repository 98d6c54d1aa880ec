// The USB hardware identifiers a driver INF names, read as plain text: every line takes part, comments
// and section headers included.
#pragma once

#include <set>
#include <string>

namespace drivers {

// Every "USB\VID_xxxx&PID_xxxx" (four word characters each) in the file, upper-cased, each once. The file
// is read in pieces of at most 1023 bytes, so an identifier that a piece boundary of a longer line cuts is
// not found. Empty when the file cannot be opened.
std::set<std::string> CollectInfHardwareIds(const std::string& infPath);

}  // namespace drivers
