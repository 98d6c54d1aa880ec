#include "platform/win32/Win32Shell.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

namespace platform::win32 {
namespace {

static_assert(sizeof(SHELLEXECUTEINFOA) == kShellExecuteInfoASize);

LPCSTR OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

}  // namespace

bool Win32Shell::ShellExecuteExA(ShellExecuteInfoA& info) {
  SHELLEXECUTEINFOA native{};
  native.cbSize = info.cbSize;
  native.fMask = info.fMask;
  native.hwnd = reinterpret_cast<HWND>(info.hwnd);
  native.lpVerb = OrNull(info.lpVerb);
  native.lpFile = OrNull(info.lpFile);
  native.lpParameters = OrNull(info.lpParameters);
  native.lpDirectory = OrNull(info.lpDirectory);
  native.nShow = info.nShow;
  const BOOL started = ::ShellExecuteExA(&native);
  info.hProcess = reinterpret_cast<ProcessHandle>(native.hProcess);
  return started != FALSE;
}

std::uint32_t Win32Shell::WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(process), milliseconds);
}

bool Win32Shell::CloseHandle(ProcessHandle process) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(process)) != FALSE;
}

}  // namespace platform::win32
