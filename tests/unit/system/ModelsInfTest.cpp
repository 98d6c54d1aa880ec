// The model INF handed to the system's INF installer, on the simulated host.
#include <gtest/gtest.h>

#include "app/CalvantDlg.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;

const std::string kDrivers = "C:\\Program Files (x86)\\Lumetra Package\\Drivers";
const std::string kInf = kDrivers + "\\models.inf";
const std::string kRundll32 = "C:\\windows\\system32\\RUNDLL32.EXE";

class ModelsInfTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.files.AddFile(kRundll32);
    host.files.AddFile("C:\\windows\\syswow64\\RUNDLL32.EXE");
    dialog.DriversDir = kDrivers;
  }

  SimHost host{MachineKind{true}};
  CCalvantDlg dialog;
};

TEST_F(ModelsInfTest, RunsTheDefaultInstallSectionWithTheInfPathUnquotedAndWaits) {
  host.files.AddFile(kInf);
  host.machine.redirectionDisabled = true;
  dialog.InstallModelsInf();

  ASSERT_EQ(host.shell.launches.size(), 1u);
  EXPECT_EQ(host.shell.launches[0].Program(), kRundll32);
  EXPECT_EQ(host.shell.launches[0].Parameters(),
            "SETUPAPI.DLL,InstallHinfSection DefaultInstall 128 "
            "C:\\Program Files (x86)\\Lumetra Package\\Drivers\\models.inf");
  EXPECT_EQ(host.shell.launches[0].physicalProgram, kRundll32) << "the native installer while redirection is off";
  EXPECT_EQ(host.shell.events.size(), 3u) << "started, awaited, handle closed";
  EXPECT_EQ(host.shell.openProcesses, 0);
}

TEST_F(ModelsInfTest, WithoutTheInfNothingIsStarted) {
  host.files.AddFile(kDrivers + "\\Other.inf");
  dialog.InstallModelsInf();
  EXPECT_TRUE(host.shell.events.empty());
}

TEST_F(ModelsInfTest, WithoutTheSystemDirectoryNothingIsStarted) {
  host.files.AddFile(kInf);
  host.files.AddFile("C:\\RUNDLL32.EXE");
  host.machine.faults.Fail("GetSystemDirectoryA", platform::kErrorInvalidFunction);
  dialog.InstallModelsInf();
  EXPECT_TRUE(host.shell.events.empty()) << "no installer from the root of the current drive";
}

}  // namespace
