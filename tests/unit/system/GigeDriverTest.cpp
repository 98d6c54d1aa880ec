// The GigE driver step over Windows versions, bitness, where the installers lie and removal-only runs.
#include <gtest/gtest.h>

#include "app/CalvantDlg.h"
#include "app/DriverMask.h"
#include "app/VersionFlags.h"
#include "platform/sim/SimHost.h"
#include "registration/Wow64State.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;

const std::string kDrivers = "C:\\Lumetra Package\\Drivers";
const std::string kProgramDir = "C:\\Lumetra Package\\Calvant";
constexpr const char* kRemove = "-TbGigeDriverAutoUninstall";
constexpr const char* kInstall = "-TbGigeDriverAutoInstall";

enum class Windows { Win10, Win7, WinXP };

struct Launch {
  std::string installer;  // below the Drivers folder
  std::string switches;
  bool operator==(const Launch&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Launch& launch) {
  return out << launch.installer << ' ' << launch.switches;
}

struct GigeCase {
  const char* name;
  Windows windows;
  bool is64Bit;
  std::vector<std::string> installers;  // files below the Drivers folder
  bool removeOnly;
  std::vector<Launch> expected;
};

const std::vector<GigeCase> kCases{
    {"Windows 10 prefers its own folder",
     Windows::Win10,
     false,
     {"GIGE\\WIN10\\51\\TbDriverInstall.exe", "GIGE\\WIN10\\60\\TbDriverInstall.exe",
      "GIGE\\WIN7\\51\\TbDriverInstall.exe", "GIGE\\WIN7\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN10\\51\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN10\\60\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN10\\60\\TbDriverInstall.exe", kInstall}}},
    {"Windows 7 prefers its own folder",
     Windows::Win7,
     false,
     {"GIGE\\WIN10\\51\\TbDriverInstall.exe", "GIGE\\WIN10\\60\\TbDriverInstall.exe",
      "GIGE\\WIN7\\51\\TbDriverInstall.exe", "GIGE\\WIN7\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN7\\51\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN7\\60\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN7\\60\\TbDriverInstall.exe", kInstall}}},
    {"Windows 7 falls back to the Windows 10 folder",
     Windows::Win7,
     false,
     {"GIGE\\WIN7\\readme.txt", "GIGE\\WIN10\\60\\TbDriverInstall.exe", "GIGE\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN10\\60\\TbDriverInstall.exe", kRemove}, {"GIGE\\WIN10\\60\\TbDriverInstall.exe", kInstall}}},
    {"64-bit Windows passes over a folder with 32-bit installers only",
     Windows::Win10,
     true,
     {"GIGE\\WIN10\\51\\TbDriverInstall.exe", "GIGE\\WIN10\\60\\TbDriverInstall.exe",
      "GIGE\\WIN7\\51\\TbDriverInstall_X64.exe"},
     false,
     {{"GIGE\\WIN7\\51\\TbDriverInstall_X64.exe", kRemove}, {"GIGE\\WIN7\\51\\TbDriverInstall_X64.exe", kInstall}}},
    {"64-bit Windows with both installers",
     Windows::Win7,
     true,
     {"GIGE\\WIN7\\51\\TbDriverInstall_X64.exe", "GIGE\\WIN7\\60\\TbDriverInstall_X64.exe",
      "GIGE\\WIN7\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN7\\51\\TbDriverInstall_X64.exe", kRemove},
      {"GIGE\\WIN7\\60\\TbDriverInstall_X64.exe", kRemove},
      {"GIGE\\WIN7\\60\\TbDriverInstall_X64.exe", kInstall}}},
    {"32-bit Windows never considers the 64-bit names",
     Windows::Win10,
     false,
     {"GIGE\\WIN10\\60\\TbDriverInstall_X64.exe", "GIGE\\51\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\51\\TbDriverInstall.exe", kRemove}, {"GIGE\\51\\TbDriverInstall.exe", kInstall}}},
    {"only the 51 installer on Vista or later removes and installs",
     Windows::Win10,
     false,
     {"51\\TbDriverInstall.exe"},
     false,
     {{"51\\TbDriverInstall.exe", kRemove}, {"51\\TbDriverInstall.exe", kInstall}}},
    {"Windows XP installs with the 51 installer only",
     Windows::WinXP,
     false,
     {"GIGE\\WIN7\\51\\TbDriverInstall.exe", "GIGE\\WIN7\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN7\\51\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN7\\60\\TbDriverInstall.exe", kRemove},
      {"GIGE\\WIN7\\51\\TbDriverInstall.exe", kInstall}}},
    {"Windows XP with only the 60 installer removes and installs nothing",
     Windows::WinXP,
     false,
     {"GIGE\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\60\\TbDriverInstall.exe", kRemove}}},
    {"64-bit Windows XP in the Drivers folder itself",
     Windows::WinXP,
     true,
     {"51\\TbDriverInstall_X64.exe", "60\\TbDriverInstall_X64.exe"},
     false,
     {{"51\\TbDriverInstall_X64.exe", kRemove},
      {"60\\TbDriverInstall_X64.exe", kRemove},
      {"51\\TbDriverInstall_X64.exe", kInstall}}},
    {"removal only",
     Windows::Win10,
     true,
     {"GIGE\\WIN10\\51\\TbDriverInstall_X64.exe", "GIGE\\WIN10\\60\\TbDriverInstall_X64.exe"},
     true,
     {{"GIGE\\WIN10\\51\\TbDriverInstall_X64.exe", kRemove}, {"GIGE\\WIN10\\60\\TbDriverInstall_X64.exe", kRemove}}},
    {"removal only on Windows 7 with one installer",
     Windows::Win7,
     false,
     {"GIGE\\WIN7\\51\\TbDriverInstall.exe"},
     true,
     {{"GIGE\\WIN7\\51\\TbDriverInstall.exe", kRemove}}},
    {"no installer anywhere", Windows::Win10, true, {"GIGE\\WIN10\\TbDriverInstall_X64.exe"}, false, {}},
    {"a folder of the installer's name is taken for it",
     Windows::Win10,
     false,
     {"GIGE\\WIN10\\60\\TbDriverInstall.exe\\inner.txt", "GIGE\\WIN7\\60\\TbDriverInstall.exe"},
     false,
     {{"GIGE\\WIN10\\60\\TbDriverInstall.exe", kRemove}, {"GIGE\\WIN10\\60\\TbDriverInstall.exe", kInstall}}},
};

TEST(GigeDriver, RemovesWithEveryInstallerFoundThenInstallsWithTheOneForTheVersion) {
  for (const GigeCase& c : kCases) {
    SCOPED_TRACE(c.name);
    SimHost host(MachineKind{c.is64Bit});
    host.system.currentDirectory = kProgramDir;
    for (const std::string& installer : c.installers) host.files.AddFile(kDrivers + "\\" + installer);
    app::IsWin10OrLater = c.windows == Windows::Win10 ? 1 : 0;
    app::IsVistaOrLater = c.windows == Windows::WinXP ? 0 : 1;
    registration::Wow64Active = c.is64Bit ? 1 : 0;
    CCalvantDlg dialog;
    dialog.DriversDir = kDrivers;
    dialog.DriverMask = app::kDriverGigeCamera | (c.removeOnly ? app::kDriverRemoveOnly : 0);

    dialog.InstallGigeDriver();

    std::vector<Launch> launches;
    for (const platform::sim::SimLaunch& launch : host.shell.launches) {
      ASSERT_EQ(launch.Program().rfind(kDrivers + "\\", 0), 0u) << launch.Program();
      launches.push_back({launch.Program().substr(kDrivers.size() + 1), launch.Parameters()});
      EXPECT_EQ(launch.workingDirectory, kProgramDir) << "the program's folder, not the installer's";
    }
    EXPECT_EQ(launches, c.expected);
    EXPECT_EQ(host.shell.openProcesses, 0);
  }
  registration::Wow64Active = 0;
  app::IsWin10OrLater = app::IsVistaOrLater = 0;
}

}  // namespace
