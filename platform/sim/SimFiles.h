// The simulated file system: drive C: with the Windows directory, system32 and (on 64-bit Windows)
// syswow64, case-insensitive names, and WOW64 file-system redirection of system32 for the 32-bit program
// while redirection is on. Also the process environment, text-file reading and pauses.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileApi.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

class SimFiles : public FileApi {
 public:
  static constexpr const char* kWindowsDirectory = "C:\\windows";
  static constexpr const char* kSystemDirectory = "C:\\windows\\system32";

  explicit SimFiles(SimMachine& machine);

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

  // Where the program reaches with this path: WOW64 redirection applied as in the calls above.
  std::string PhysicalPath(const std::string& path) const { return Redirect(path); }

  // --- for tests: paths here are where the files really are (no redirection) ---
  void AddFile(const std::string& path, const std::string& content = std::string());
  void AddDirectory(const std::string& path);
  bool Exists(const std::string& path) const;
  bool IsDirectory(const std::string& path) const;
  std::optional<std::string> Content(const std::string& path) const;
  // A file in use: it cannot be replaced or deleted (ERROR_SHARING_VIOLATION).
  void LockFile(const std::string& path);
  // Every file and folder below a folder, as full paths in their own letter case.
  std::vector<std::string> Below(const std::string& folder) const;

  std::map<std::string, std::string> environment;  // by upper-case name
  std::vector<std::uint32_t> sleeps;
  // Copies made, in order, as the physical source and destination.
  std::vector<std::pair<std::string, std::string>> copies;
  int openFinds = 0;
  int openTextFiles = 0;

 private:
  struct Entry {
    std::string path;  // in the letter case it was created with
    bool directory = false;
    std::string content;
  };
  struct Listing {
    std::vector<std::string> names;
    std::size_t next = 0;
  };
  struct Reader {
    std::string text;  // after text-mode translation
    std::size_t next = 0;
  };

  // The physical path the program reaches with this path: made absolute and normalised, system32
  // redirected to syswow64 while redirection is on for the 32-bit program on 64-bit Windows.
  std::string Redirect(const std::string& path) const;
  const Entry* Find(const std::string& physical) const;

  SimMachine& machine_;
  std::map<std::string, Entry> entries_;  // by upper-case physical path
  std::set<std::string> locked_;          // upper-case physical paths
  std::map<FindHandle, Listing> finds_;
  std::map<TextFileHandle, Reader> readers_;
  std::uintptr_t nextHandle_ = 0x500;
};

}  // namespace platform::sim
