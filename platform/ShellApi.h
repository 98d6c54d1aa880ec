// shell32 program start and the kernel32 wait on the started process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/WinTypes.h"

namespace platform {

using ProcessHandle = std::uintptr_t;  // HANDLE; 0 when the shell gave none

inline constexpr std::uint32_t kSeeMaskNoCloseProcess = 0x40;
inline constexpr int kSwShowNormal = 1;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
// sizeof(SHELLEXECUTEINFOA) for the pointer width of the build: 60 bytes in the 32-bit program.
inline constexpr std::uint32_t kShellExecuteInfoASize = sizeof(void*) == 8 ? 112 : 60;

// SHELLEXECUTEINFOA: the fields the system fills; an empty optional is a null pointer.
struct ShellExecuteInfoA {
  std::uint32_t cbSize = 0;
  std::uint32_t fMask = 0;
  WindowHandle hwnd = kNoWindow;
  std::optional<std::string> lpVerb;
  std::optional<std::string> lpFile;
  std::optional<std::string> lpParameters;
  std::optional<std::string> lpDirectory;
  int nShow = 0;
  ProcessHandle hProcess = 0;  // out
};

class ShellApi {
 public:
  virtual ~ShellApi() = default;
  virtual bool ShellExecuteExA(ShellExecuteInfoA& info) = 0;
  virtual std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) = 0;
  virtual bool CloseHandle(ProcessHandle process) = 0;
};

}  // namespace platform
