// Handles and records that the system exchanges with Windows, in a form that needs no <windows.h>.
// Handles are opaque integers: a backend maps them to its own objects (HWND, HICON, HMENU, HDC).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = std::uintptr_t;
using MenuHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;
using DeviceContext = std::uintptr_t;

inline constexpr WindowHandle kNoWindow = 0;

// OSVERSIONINFOA: the size field tells Windows which record it is given (148 bytes for this one).
struct OsVersionInfoA {
  std::uint32_t dwOSVersionInfoSize = 0;
  std::uint32_t dwMajorVersion = 0;
  std::uint32_t dwMinorVersion = 0;
  std::uint32_t dwBuildNumber = 0;
  std::uint32_t dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

}  // namespace platform
