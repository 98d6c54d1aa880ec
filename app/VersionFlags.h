// The Windows version as the start-up reads it once: major version 6 and up, 10 and up.
#pragma once

#include <cstdint>

namespace app {

extern std::int32_t IsVistaOrLater;
extern std::int32_t IsWin10OrLater;

// Queries the version (an ANSI record of 148 bytes) and sets both flags; a failed query reads as 0.0.
void ReadWindowsVersion();

}  // namespace app
