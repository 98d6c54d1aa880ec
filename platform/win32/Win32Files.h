// Files on real Windows: kernel32 file calls, the environment and the C runtime's text-file reading.
#pragma once

#include "platform/FileApi.h"

namespace platform::win32 {

class Win32Files : public FileApi {
 public:
  std::uint32_t GetFileAttributesA(const std::string& path) override;
  bool CopyFileA(const std::string& source, const std::string& destination, bool failIfExists) override;
  bool DeleteFileA(const std::string& path) override;
  std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) override;
  std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;
  std::optional<std::string> GetEnvironmentVariableA(const std::string& name) override;
  FindHandle FindFirstFileA(const std::string& searchPath, std::string& name) override;
  bool FindNextFileA(FindHandle find, std::string& name) override;
  bool FindClose(FindHandle find) override;
  TextFileHandle OpenTextFile(const std::string& path) override;
  bool ReadLine(TextFileHandle file, char* buffer, int size) override;
  void CloseTextFile(TextFileHandle file) override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace platform::win32
