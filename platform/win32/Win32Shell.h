// Program start and the wait for it on real Windows: each call forwards to the Win32 call of the same name.
#pragma once

#include "platform/ShellApi.h"

namespace platform::win32 {

class Win32Shell : public ShellApi {
 public:
  bool ShellExecuteExA(ShellExecuteInfoA& info) override;
  std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) override;
  bool CloseHandle(ProcessHandle process) override;
};

}  // namespace platform::win32
