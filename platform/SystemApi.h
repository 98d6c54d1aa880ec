// kernel32 and shell32 services of the start-up context: command line, module path, directories,
// version query and code-page handling. Each call mirrors the Win32 call of the same name: ANSI strings,
// caller-sized buffers where Windows takes one, and the same return conventions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

class SystemApi {
 public:
  virtual ~SystemApi() = default;

  // GetCommandLineW: the process's command line as it was given, UTF-16.
  virtual std::wstring GetCommandLineW() = 0;

  // CommandLineToArgvW: splits a command line by the system's rules. False when the split fails.
  virtual bool CommandLineToArgvW(const std::wstring& commandLine, std::vector<std::wstring>& arguments) = 0;

  // WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, ...) with the used-default-character
  // check: false when the call fails or when a character has no equivalent in the thread's code page.
  virtual bool WideCharToThreadAnsi(const std::wstring& text, std::string& ansi) = 0;

  // GetModuleFileNameA(NULL, buffer, size): characters copied without the terminator; equal to size
  // when the path was cut to fit (the last error is then ERROR_INSUFFICIENT_BUFFER), 0 on failure.
  virtual std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) = 0;

  // SetCurrentDirectoryA: true on success.
  virtual bool SetCurrentDirectoryA(const std::string& path) = 0;

  // GetFullPathNameA(fileName, size, buffer, NULL): characters copied without the terminator when they
  // fit; otherwise the size needed including the terminator, with nothing copied; 0 on failure.
  virtual std::uint32_t GetFullPathNameA(const std::string& fileName, std::uint32_t size, char* buffer) = 0;

  // GetVersionExA: reads info.dwOSVersionInfoSize to know the record; true on success.
  virtual bool GetVersionExA(OsVersionInfoA& info) = 0;

  // IsDBCSLeadByte: whether the byte starts a double-byte character in the system's ANSI code page.
  virtual bool IsDBCSLeadByte(std::uint8_t byte) = 0;

  virtual std::uint32_t GetLastError() = 0;
};

}  // namespace platform
