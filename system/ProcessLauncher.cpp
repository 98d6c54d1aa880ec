#include "system/ProcessLauncher.h"

#include "platform/Backends.h"
#include "platform/FileApi.h"
#include "platform/ShellApi.h"

namespace sys {
namespace {

// The process handle the shell handed back, closed when the scope ends.
class ScopedProcessHandle {
 public:
  explicit ScopedProcessHandle(platform::ProcessHandle process) : process_(process) {}
  ~ScopedProcessHandle() {
    if (process_ != 0) platform::Shell().CloseHandle(process_);
  }
  ScopedProcessHandle(const ScopedProcessHandle&) = delete;
  ScopedProcessHandle& operator=(const ScopedProcessHandle&) = delete;
  platform::ProcessHandle Get() const { return process_; }

 private:
  platform::ProcessHandle process_;
};

}  // namespace

bool FileExists(const std::string& path) {
  return platform::Files().GetFileAttributesA(path) != platform::kInvalidFileAttributes;
}

bool RunAndWait(const std::string& program, const std::string& parameters) {
  if (!FileExists(program)) return false;
  platform::ShellExecuteInfoA info;
  info.cbSize = platform::kShellExecuteInfoASize;
  info.fMask = platform::kSeeMaskNoCloseProcess;
  info.hwnd = platform::kNoWindow;
  info.lpVerb = "open";
  info.lpFile = program;
  info.lpParameters = parameters;
  info.nShow = platform::kSwShowNormal;
  platform::ShellApi& shell = platform::Shell();
  if (!shell.ShellExecuteExA(info)) return false;
  const ScopedProcessHandle process(info.hProcess);
  if (process.Get() != 0) shell.WaitForSingleObject(process.Get(), platform::kInfinite);
  return true;
}

}  // namespace sys
