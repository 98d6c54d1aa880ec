#include "system/ModelsInf.h"

#include <array>

#include "app/CalvantDlg.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"
#include "system/ProcessLauncher.h"

namespace sys {

std::string ModelsInfParameters(const std::string& infPath) {
  return "SETUPAPI.DLL,InstallHinfSection DefaultInstall 128 " + infPath;
}

}  // namespace sys

void CCalvantDlg::InstallModelsInf() {
  const std::string infPath = DriversDir + "\\models.inf";
  if (!sys::FileExists(infPath)) return;
  std::array<char, platform::kMaxPath> buffer{};
  const std::uint32_t length = platform::Files().GetSystemDirectoryA(buffer.data(), platform::kMaxPath);
  // Without the system directory there is no installer to start: a bare "\RUNDLL32.EXE" would name a
  // program in the root of the current drive.
  if (length == 0 || length >= platform::kMaxPath) return;
  sys::RunAndWait(std::string(buffer.data(), length) + "\\RUNDLL32.EXE", sys::ModelsInfParameters(infPath));
}
