// The start-up context on real Windows: each call forwards to the Win32 call of the same name.
#pragma once

#include "platform/SystemApi.h"

namespace platform::win32 {

class Win32System : public SystemApi {
 public:
  std::wstring GetCommandLineW() override;
  bool CommandLineToArgvW(const std::wstring& commandLine, std::vector<std::wstring>& arguments) override;
  bool WideCharToThreadAnsi(const std::wstring& text, std::string& ansi) override;
  std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
  bool SetCurrentDirectoryA(const std::string& path) override;
  std::uint32_t GetFullPathNameA(const std::string& fileName, std::uint32_t size, char* buffer) override;
  bool GetVersionExA(OsVersionInfoA& info) override;
  bool IsDBCSLeadByte(std::uint8_t byte) override;
  std::uint32_t GetLastError() override;
};

}  // namespace platform::win32
