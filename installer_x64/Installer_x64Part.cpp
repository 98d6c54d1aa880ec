// Installer_x64Part.exe: the package's 64-bit program that removes the cameras' device nodes for the
// 32-bit setup program on 64-bit Windows, where a 32-bit process cannot. Started as
//   Installer_x64Part.exe -rdev PATH-OF-THE-DRIVER-INF
// it runs the same device removal as the setup program and writes what it did to its standard output
// (when it has one): the INF, the hardware identifiers read from it, each camera device and whether it
// was removed. It has no window. Exit status 0 after a removal pass, 2 when the command line is not
// understood.
#include <windows.h>

#include <cstdio>

#include "drivers/CameraDevices.h"
#include "drivers/InfHardwareIds.h"
#include "installer_x64/RemovalCommand.h"
#include "platform/Backends.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Setup.h"
#include "platform/win32/Win32System.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Only the system directory is searched for the DLLs loaded from here on, never the package's folder.
  platform::win32::RestrictDllSearchToSystemDirectory();

  const std::optional<std::string> infPath = installer::InfPathFromCommandLine(GetCommandLineA());
  if (!infPath) {
    std::printf("usage: Installer_x64Part.exe -rdev PATH-OF-THE-DRIVER-INF\n");
    return kExitUsage;
  }
  platform::win32::Win32System system;
  platform::win32::Win32Files files;
  platform::win32::Win32Setup setup;
  platform::Backends backends;
  backends.system = &system;
  backends.files = &files;
  backends.setup = &setup;
  platform::ScopedBackends installed(backends);

  std::printf("INF: %s\n", infPath->c_str());
  for (const std::string& id : drivers::CollectInfHardwareIds(*infPath)) std::printf("hardware id: %s\n", id.c_str());
  drivers::RemoveCameraDevices(*infPath, [&](const std::string& instanceId, bool removed) {
    if (removed) {
      std::printf("removed: %s\n", instanceId.c_str());
    } else {
      std::printf("not removed: %s (error 0x%08X)\n", instanceId.c_str(), static_cast<unsigned>(system.GetLastError()));
    }
  });
  std::fflush(stdout);
  return kExitDone;
}
