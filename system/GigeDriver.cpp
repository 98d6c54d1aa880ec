#include "system/GigeDriver.h"

#include "app/CalvantDlg.h"
#include "app/DriverMask.h"
#include "app/VersionFlags.h"
#include "registration/Wow64State.h"
#include "system/ProcessLauncher.h"

namespace sys {
namespace {

constexpr const char* kUninstallSwitch = "-TbGigeDriverAutoUninstall";
constexpr const char* kInstallSwitch = "-TbGigeDriverAutoInstall";

}  // namespace

std::vector<std::string> GigeCandidateFolders(bool win10OrLater) {
  if (win10OrLater) return {"\\GIGE\\WIN10\\", "\\GIGE\\WIN7\\", "\\GIGE\\", "\\"};
  return {"\\GIGE\\WIN7\\", "\\GIGE\\WIN10\\", "\\GIGE\\", "\\"};
}

GigeInstallers FindGigeInstallers(const std::string& driversDir, bool win10OrLater, bool wow64) {
  const std::string name51 = wow64 ? "51\\TbDriverInstall_X64.exe" : "51\\TbDriverInstall.exe";
  const std::string name60 = wow64 ? "60\\TbDriverInstall_X64.exe" : "60\\TbDriverInstall.exe";
  for (const std::string& folder : GigeCandidateFolders(win10OrLater)) {
    GigeInstallers found{driversDir + folder + name51, driversDir + folder + name60};
    if (!FileExists(found.installer51)) found.installer51.clear();
    if (!FileExists(found.installer60)) found.installer60.clear();
    if (!found.installer51.empty() || !found.installer60.empty()) return found;
  }
  return {};
}

}  // namespace sys

void CCalvantDlg::InstallGigeDriver() {
  const sys::GigeInstallers installers =
      sys::FindGigeInstallers(DriversDir, app::IsWin10OrLater != 0, registration::Wow64Active != 0);
  if (installers.installer51.empty() && installers.installer60.empty()) return;

  if (!installers.installer51.empty()) sys::RunAndWait(installers.installer51, sys::kUninstallSwitch);
  if (!installers.installer60.empty()) sys::RunAndWait(installers.installer60, sys::kUninstallSwitch);
  if ((DriverMask & app::kDriverRemoveOnly) != 0) return;

  // Windows before Vista installs with the "51" installer only; later Windows prefers the "60" one.
  const std::string& installer =
      app::IsVistaOrLater != 0 && !installers.installer60.empty() ? installers.installer60 : installers.installer51;
  if (!installer.empty()) sys::RunAndWait(installer, sys::kInstallSwitch);
}
