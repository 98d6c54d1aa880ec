#include "registration/RedirectionWindow.h"

#include "platform/Backends.h"

namespace registration {

RedirectionWindow::Opening RedirectionWindow::Open() {
  platform::ModuleApi& modules = platform::Modules();
  const platform::ModuleHandle kernel32 = modules.GetModuleHandleA("kernel32");
  const platform::ProcAddress disable = modules.GetProcAddress(kernel32, "Wow64DisableWow64FsRedirection");
  revert_ = modules.GetProcAddress(kernel32, "Wow64RevertWow64FsRedirection");
  if (disable == 0 || revert_ == 0) return Opening::EntryPointMissing;
  if (!modules.CallWow64DisableWow64FsRedirection(disable, savedState_)) return Opening::SwitchOffRefused;
  switchedOff_ = true;
  return Opening::Opened;
}

void RedirectionWindow::SwitchBack() {
  if (!switchedOff_) return;
  switchedOff_ = false;
  platform::Modules().CallWow64RevertWow64FsRedirection(revert_, savedState_);
}

}  // namespace registration
