#include "platform/win32/Win32Files.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace platform::win32 {

std::uint32_t Win32Files::GetFileAttributesA(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool Win32Files::CopyFileA(const std::string& source, const std::string& destination, bool failIfExists) {
  return ::CopyFileA(source.c_str(), destination.c_str(), failIfExists ? TRUE : FALSE) != 0;
}

bool Win32Files::DeleteFileA(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::uint32_t Win32Files::GetSystemDirectoryA(char* buffer, std::uint32_t size) {
  return ::GetSystemDirectoryA(buffer, size);
}

std::uint32_t Win32Files::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
  return ::GetWindowsDirectoryA(buffer, size);
}

std::optional<std::string> Win32Files::GetEnvironmentVariableA(const std::string& name) {
  const DWORD needed = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (needed == 0) {
    if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::vector<char> value(needed, '\0');
  const DWORD length = ::GetEnvironmentVariableA(name.c_str(), value.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  return std::string(value.data(), length);
}

FindHandle Win32Files::FindFirstFileA(const std::string& searchPath, std::string& name) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(searchPath.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return kInvalidFindHandle;
  name = data.cFileName;
  return reinterpret_cast<FindHandle>(find);
}

bool Win32Files::FindNextFileA(FindHandle find, std::string& name) {
  WIN32_FIND_DATAA data;
  if (!::FindNextFileA(reinterpret_cast<HANDLE>(find), &data)) return false;
  name = data.cFileName;
  return true;
}

bool Win32Files::FindClose(FindHandle find) { return ::FindClose(reinterpret_cast<HANDLE>(find)) != 0; }

TextFileHandle Win32Files::OpenTextFile(const std::string& path) {
  return reinterpret_cast<TextFileHandle>(std::fopen(path.c_str(), "r"));
}

bool Win32Files::ReadLine(TextFileHandle file, char* buffer, int size) {
  return std::fgets(buffer, size, reinterpret_cast<std::FILE*>(file)) != nullptr;
}

void Win32Files::CloseTextFile(TextFileHandle file) { std::fclose(reinterpret_cast<std::FILE*>(file)); }

void Win32Files::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform::win32
