// Whether the program, always a 32-bit process, runs on 64-bit Windows.
#pragma once

#include <cstdint>

namespace sys {

// True exactly when Windows reports the program's process as a WOW64 process. IsWow64Process is looked
// up in kernel32 by name; a kernel32 without it is an older, 32-bit Windows.
std::int32_t RunningUnderWow64();

}  // namespace sys
