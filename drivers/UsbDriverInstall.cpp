#include "drivers/UsbDriverInstall.h"

#include "app/BrandFields.h"
#include "app/CalvantDlg.h"
#include "app/DriverMask.h"
#include "app/VersionFlags.h"
#include "drivers/CameraDevices.h"
#include "drivers/DriverServices.h"
#include "drivers/StaleDriverPackages.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"
#include "registration/Wow64State.h"
#include "system/ProcessLauncher.h"

namespace drivers {
namespace {

constexpr std::uint32_t kPauseBeforeRescanMs = 1000;

// Copies the INF into the Windows INF directory as an OEM INF, its own folder being the source of its
// files: once plainly, once replacing an older copy. Neither outcome is examined.
void StageDriverInf(const std::string& infPath) {
  platform::SetupApi& setup = platform::Setup();
  for (const std::uint32_t copyStyle : {0u, platform::kSpCopyNewerOrSame}) {
    char destination[platform::kMaxPath] = {};
    setup.SetupCopyOEMInfA(infPath, nullptr, platform::kSpostPath, copyStyle, destination, platform::kMaxPath, nullptr,
                           nullptr);
  }
}

}  // namespace

std::vector<std::string> UsbDriverInfCandidates(const std::string& driversDir, bool win10OrLater) {
  const char* const ownVersion = win10OrLater ? "\\USB\\WIN10\\" : "\\USB\\WIN7\\";
  const char* const otherVersion = win10OrLater ? "\\USB\\WIN7\\" : "\\USB\\WIN10\\";
  const std::string infName = app::DriverBaseName() + ".Inf";
  std::vector<std::string> candidates;
  for (const char* folder : {ownVersion, otherVersion, "\\USB\\", "\\"}) {
    candidates.push_back(driversDir + folder + infName);
  }
  return candidates;
}

bool RescanDeviceTree() {
  platform::SetupApi& setup = platform::Setup();
  platform::DevInst root = 0;
  if (setup.CM_Locate_DevNodeA(root, nullptr, platform::kCmLocateDevNodeNormal) != platform::kCrSuccess) {
    return false;
  }
  return setup.CM_Reenumerate_DevNode(root, platform::kCmReenumerateNormal) == platform::kCrSuccess;
}

}  // namespace drivers

std::int32_t CCalvantDlg::InstallUsbDrivers() {
  std::string infPath;
  for (const std::string& candidate : drivers::UsbDriverInfCandidates(DriversDir, app::IsWin10OrLater != 0)) {
    if (sys::FileExists(candidate)) {
      infPath = candidate;
      break;
    }
  }
  if (infPath.empty()) return 0;

  // A 32-bit process cannot remove device nodes on 64-bit Windows: the package's 64-bit part does it.
  if (registration::Wow64Active) {
    sys::RunAndWait(ProgramDir + "\\Installer_x64Part.exe", "-rdev " + infPath);
  } else {
    drivers::RemoveCameraDevices(infPath);
  }
  drivers::RemoveStaleDriverPackages();
  drivers::RemoveCameraDriverServices();
  if ((DriverMask & app::kDriverRemoveOnly) == 0) drivers::StageDriverInf(infPath);
  platform::Files().Sleep(drivers::kPauseBeforeRescanMs);
  drivers::RescanDeviceTree();
  return 1;
}
