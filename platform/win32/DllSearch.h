// Where the process looks for the DLLs it loads by name. The program runs elevated from a package folder
// that may sit among downloads: a DLL there or in the current directory must never be loaded in place
// of a system one.
#pragma once

namespace platform::win32 {

// Restricts the search for DLLs loaded by name from here on to the system directory, and drops the
// current directory from it. Call first thing at start, before anything else is loaded. Where Windows
// lacks SetDefaultDllDirectories (before the update that added it), only the current directory is dropped.
void RestrictDllSearchToSystemDirectory();

}  // namespace platform::win32
