// The simulated host's start-up context: the command line, the program's path, the current directory,
// the Windows version and the ANSI code page, with every call able to fail on demand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemApi.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

struct WindowsVersion {
  std::uint32_t major = 10;
  std::uint32_t minor = 0;
  std::uint32_t build = 19045;
};

class SimSystem : public SystemApi {
 public:
  explicit SimSystem(SimMachine& machine) : machine_(machine) {}

  // What the simulated process was started with; tests set these before the program runs.
  std::wstring commandLine = L"\"C:\\Package\\Calvant\\calvant.exe\"";
  std::string moduleFileName = "C:\\Package\\Calvant\\calvant.exe";
  std::string currentDirectory = "C:\\Users\\Operator";
  WindowsVersion version;
  std::uint32_t ansiCodePage = 1252;

  // What the program asked: the size field of each version query, each directory it changed to.
  std::vector<std::uint32_t> versionQuerySizes;
  std::vector<std::string> directoryChanges;

  std::wstring GetCommandLineW() override;
  bool CommandLineToArgvW(const std::wstring& commandLine, std::vector<std::wstring>& arguments) override;
  bool WideCharToThreadAnsi(const std::wstring& text, std::string& ansi) override;
  std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
  bool SetCurrentDirectoryA(const std::string& path) override;
  std::uint32_t GetFullPathNameA(const std::string& fileName, std::uint32_t size, char* buffer) override;
  bool GetVersionExA(OsVersionInfoA& info) override;
  bool IsDBCSLeadByte(std::uint8_t byte) override;
  std::uint32_t GetLastError() override { return machine_.lastError; }

 private:
  bool Planned(const char* call) { return machine_.Planned(call); }

  SimMachine& machine_;
};

// The absolute form of a path against a current directory, as Windows computes it: "." and ".." steps
// resolved, forward slashes made backslashes, a drive-relative or rooted path completed from the
// current directory's drive.
std::string ResolveFullPath(const std::string& path, const std::string& currentDirectory);

}  // namespace platform::sim
