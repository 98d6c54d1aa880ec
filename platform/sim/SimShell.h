// The simulated shell: programs started through ShellExecuteExA are recorded in order, with the
// working directory they inherit and the WOW64 redirection state they were started under. A test can
// attach a fake program that acts on the simulated machine when its file is started.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ShellApi.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystem.h"

namespace platform::sim {

struct SimLaunch {
  ShellExecuteInfoA request;     // the record as the program filled it
  std::string physicalProgram;   // the file the path reached, after redirection
  std::string workingDirectory;  // lpDirectory, or the process's current directory
  bool redirectionDisabled = false;
  bool gaveProcess = false;  // false when the path named a folder: the shell opened it, no process came back

  std::string Program() const { return request.lpFile.value_or(std::string()); }
  std::string Parameters() const { return request.lpParameters.value_or(std::string()); }
};

class SimShell : public ShellApi {
 public:
  SimShell(SimMachine& machine, SimFiles& files, SimSystem& system)
      : machine_(machine), files_(files), system_(system) {}

  bool ShellExecuteExA(ShellExecuteInfoA& info) override;
  std::uint32_t WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) override;
  bool CloseHandle(ProcessHandle process) override;

  // A fake program: runs on the machine when the file at this physical path is started (letter case
  // ignored). Its exit code is whatever it returns.
  void OnStart(const std::string& physicalProgram, std::function<std::uint32_t(const SimLaunch&)> program);

  std::vector<SimLaunch> launches;
  // What happened, in order: "start PATH PARAMETERS", "wait HANDLE MILLISECONDS", "close HANDLE".
  std::vector<std::string> events;
  std::map<ProcessHandle, std::uint32_t> exitCodes;  // of each process started
  int openProcesses = 0;                             // handles handed out and not yet closed

 private:
  SimMachine& machine_;
  SimFiles& files_;
  SimSystem& system_;
  std::map<std::string, std::function<std::uint32_t(const SimLaunch&)>> programs_;  // by upper-case path
  std::set<ProcessHandle> open_;
  ProcessHandle nextHandle_ = 0x700;
};

}  // namespace platform::sim
