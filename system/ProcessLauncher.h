// How the system looks for package files and starts other programs.
#pragma once

#include <string>

namespace sys {

// True when Windows reports attributes for the path: an existing file or folder. Any error of the
// attribute query (missing path, invalid name, access denied on the parent) reads as missing.
bool FileExists(const std::string& path);

// Starts the program through the shell's "open" verb with the parameters exactly as given (nothing
// quoted or added), shown normally, in the process's current directory, and waits without a time limit
// until it has ended. True when the shell started it; its exit code is not read. A program file that
// does not exist is never handed to the shell: false at once.
bool RunAndWait(const std::string& program, const std::string& parameters);

}  // namespace sys
