#include "platform/sim/SimShell.h"

#include <algorithm>
#include <cctype>

#include "platform/WinConstants.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

bool SimShell::ShellExecuteExA(ShellExecuteInfoA& info) {
  info.hProcess = 0;
  if (machine_.Planned("ShellExecuteExA", info.lpFile.value_or(std::string()))) return false;
  if (info.cbSize != kShellExecuteInfoASize || !info.lpFile) {
    machine_.lastError = kErrorInvalidParameter;
    return false;
  }
  const std::string physical = files_.PhysicalPath(*info.lpFile);
  if (!files_.Exists(physical)) {
    machine_.lastError = kErrorFileNotFound;
    return false;
  }
  SimLaunch launch{info, physical, info.lpDirectory.value_or(system_.currentDirectory), machine_.redirectionDisabled,
                   !files_.IsDirectory(physical)};
  events.push_back("start " + physical + " " + launch.Parameters());
  std::uint32_t exitCode = 0;
  if (auto program = programs_.find(Upper(physical)); program != programs_.end()) exitCode = program->second(launch);
  launches.push_back(launch);
  if (launch.gaveProcess && (info.fMask & kSeeMaskNoCloseProcess) != 0) {
    info.hProcess = nextHandle_++;
    exitCodes[info.hProcess] = exitCode;
    open_.insert(info.hProcess);
    ++openProcesses;
  }
  return true;
}

std::uint32_t SimShell::WaitForSingleObject(ProcessHandle process, std::uint32_t milliseconds) {
  events.push_back("wait " + std::to_string(process) + " " + std::to_string(milliseconds));
  if (machine_.Planned("WaitForSingleObject")) return kWaitFailed;
  if (!open_.count(process)) {
    machine_.lastError = kErrorInvalidHandle;
    return kWaitFailed;
  }
  return kWaitObject0;
}

bool SimShell::CloseHandle(ProcessHandle process) {
  events.push_back("close " + std::to_string(process));
  if (machine_.Planned("CloseHandle")) return false;
  if (open_.erase(process) == 0) {
    machine_.lastError = kErrorInvalidHandle;
    return false;
  }
  --openProcesses;
  return true;
}

void SimShell::OnStart(const std::string& physicalProgram, std::function<std::uint32_t(const SimLaunch&)> program) {
  programs_[Upper(physicalProgram)] = std::move(program);
}

}  // namespace platform::sim
