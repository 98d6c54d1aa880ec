#include "platform/win32/Win32System.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstring>
#include <memory>

namespace platform::win32 {
namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

}  // namespace

std::wstring Win32System::GetCommandLineW() { return ::GetCommandLineW(); }

bool Win32System::CommandLineToArgvW(const std::wstring& commandLine, std::vector<std::wstring>& arguments) {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> list(::CommandLineToArgvW(commandLine.c_str(), &count));
  if (!list) return false;
  arguments.assign(list.get(), list.get() + count);
  return true;
}

bool Win32System::WideCharToThreadAnsi(const std::wstring& text, std::string& ansi) {
  BOOL usedDefault = FALSE;
  const int size =
      ::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return false;
  std::string converted(static_cast<std::size_t>(size), '\0');
  if (::WideCharToMultiByte(CP_THREAD_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, converted.data(), size, nullptr,
                            &usedDefault) != size ||
      usedDefault) {
    return false;
  }
  converted.resize(static_cast<std::size_t>(size) - 1);
  ansi = converted;
  return true;
}

std::uint32_t Win32System::GetModuleFileNameA(char* buffer, std::uint32_t size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

bool Win32System::SetCurrentDirectoryA(const std::string& path) { return ::SetCurrentDirectoryA(path.c_str()) != 0; }

std::uint32_t Win32System::GetFullPathNameA(const std::string& fileName, std::uint32_t size, char* buffer) {
  return ::GetFullPathNameA(fileName.c_str(), size, buffer, nullptr);
}

bool Win32System::GetVersionExA(OsVersionInfoA& info) {
  OSVERSIONINFOA record;
  std::memset(&record, 0, sizeof(record));
  record.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
  if (!::GetVersionExA(&record)) return false;
  info.dwMajorVersion = record.dwMajorVersion;
  info.dwMinorVersion = record.dwMinorVersion;
  info.dwBuildNumber = record.dwBuildNumber;
  info.dwPlatformId = record.dwPlatformId;
  std::memcpy(info.szCSDVersion, record.szCSDVersion, sizeof(info.szCSDVersion));
  return true;
}

bool Win32System::IsDBCSLeadByte(std::uint8_t byte) { return ::IsDBCSLeadByte(byte) != 0; }

std::uint32_t Win32System::GetLastError() { return ::GetLastError(); }

}  // namespace platform::win32
