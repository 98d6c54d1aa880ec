// kernel32 file services and the C runtime's text-file reading: attributes, copies, deletes, the system
// and Windows directories, the environment, directory listing and line reading. Each call mirrors the
// call of the same name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

using FindHandle = std::uintptr_t;      // HANDLE of FindFirstFileA
using TextFileHandle = std::uintptr_t;  // FILE*; 0 when it cannot be opened

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
inline constexpr FindHandle kInvalidFindHandle = static_cast<FindHandle>(-1);
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;

class FileApi {
 public:
  virtual ~FileApi() = default;

  virtual std::uint32_t GetFileAttributesA(const std::string& path) = 0;
  virtual bool CopyFileA(const std::string& source, const std::string& destination, bool failIfExists) = 0;
  virtual bool DeleteFileA(const std::string& path) = 0;
  // Characters copied without the terminator; the size needed when the buffer is too small; 0 on failure.
  virtual std::uint32_t GetSystemDirectoryA(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
  // The process environment's variable; empty when it is not set.
  virtual std::optional<std::string> GetEnvironmentVariableA(const std::string& name) = 0;

  // FindFirstFileA / FindNextFileA / FindClose: the name of each entry, without its directory.
  virtual FindHandle FindFirstFileA(const std::string& searchPath, std::string& name) = 0;
  virtual bool FindNextFileA(FindHandle find, std::string& name) = 0;
  virtual bool FindClose(FindHandle find) = 0;

  // fopen(path, "r") in text mode, fgets and fclose.
  virtual TextFileHandle OpenTextFile(const std::string& path) = 0;
  // fgets: one line with its '\n', or at most size-1 bytes of a longer one, terminated; false at the end.
  virtual bool ReadLine(TextFileHandle file, char* buffer, int size) = 0;
  virtual void CloseTextFile(TextFileHandle file) = 0;

  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace platform
