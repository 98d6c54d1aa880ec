// The registration run's USB camera step: which INF it takes, what it removes and stages, in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "InfText.h"
#include "app/CalvantDlg.h"
#include "app/DriverMask.h"
#include "app/VersionFlags.h"
#include "drivers/UsbDriverInstall.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "registration/Wow64State.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimDevice;
using platform::sim::SimHost;
using platform::sim::SimService;

constexpr const char* kProgramDir = "C:\\Package Root\\Calvant";
constexpr const char* kDriversDir = "C:\\Package Root\\Drivers";

std::string DriverInf(const std::string& folder) {
  return drivers_test::Inf("; staged from " + folder +
                           "\r\n[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n[Models]\r\n%Cam%=Install,USB\\VID_1D6B&PID_"
                           "0104\r\n[Strings]\r\nDeviceID=\"VID_F622\"\r\nCam=\"Camera\"\r\n");
}

class UsbDriverInstallTest : public ::testing::Test {
 protected:
  explicit UsbDriverInstallTest(bool is64BitWindows = false) : host(MachineKind{.is64BitWindows = is64BitWindows}) {
    registration::Wow64Active = is64BitWindows ? 1 : 0;
    app::IsWin10OrLater = 1;
    dialog.ProgramDir = kProgramDir;
    dialog.DriversDir = kDriversDir;
    dialog.DriverMask = app::kDriverUsbCamera;
    // What an earlier installation left: a camera attached, one from an earlier connection, its package
    // and its driver service.
    host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\ATTACHED", true});
    host.setup.AddDevice(SimDevice{"USB\\VID_1D6B&PID_0104\\EARLIER", false});
    host.setup.AddDevice(SimDevice{"PCI\\VEN_8086&DEV_1234\\0", true});
    host.setup.AddInf("oem3.inf", DriverInf("an earlier package"));
    host.services.Add(SimService{"ZeZ2Idador", "Camera", platform::kServiceKernelDriver,
                                 "\\SystemRoot\\System32\\drivers\\ZeZ2Idador.sys", true});
    // Each Setup API or service call, after the pauses and program starts that came before it.
    host.journal.onCall = [this](const std::string& call) {
      for (; sleepsSeen < host.files.sleeps.size(); ++sleepsSeen) {
        timeline.push_back("Sleep " + std::to_string(host.files.sleeps[sleepsSeen]));
      }
      for (; launchesSeen < host.shell.launches.size(); ++launchesSeen) timeline.push_back("start");
      timeline.push_back(call);
    };
  }
  ~UsbDriverInstallTest() override {
    registration::Wow64Active = 0;
    app::IsWin10OrLater = 0;
  }

  std::string PlantInf(const std::string& folder) {
    const std::string path = std::string(kDriversDir) + folder + "ZeZ2Idador.Inf";
    host.files.AddFile(path, DriverInf(folder));
    return path;
  }

  // The timeline without the calls inside the steps: what shows the steps' order.
  std::vector<std::string> Steps() const {
    std::vector<std::string> steps;
    for (const std::string& call : timeline) {
      for (const char* step : {"Sleep", "start", "SetupDiGetClassDevsA", "SetupGetInfFileListA", "OpenSCManagerA",
                               "SetupCopyOEMInfA", "CM_Locate_DevNodeA", "CM_Reenumerate_DevNode"}) {
        if (call.starts_with(step)) steps.push_back(call);
      }
    }
    return steps;
  }

  SimHost host;
  CCalvantDlg dialog;
  std::vector<std::string> timeline;
  std::size_t sleepsSeen = 0;
  std::size_t launchesSeen = 0;
};

TEST(UsbDriverInfCandidates, TheRunningVersionsFolderComesFirstThenTheOtherThenUsbThenDrivers) {
  EXPECT_EQ(
      drivers::UsbDriverInfCandidates("D:\\Drivers", true),
      (std::vector<std::string>{"D:\\Drivers\\USB\\WIN10\\ZeZ2Idador.Inf", "D:\\Drivers\\USB\\WIN7\\ZeZ2Idador.Inf",
                                "D:\\Drivers\\USB\\ZeZ2Idador.Inf", "D:\\Drivers\\ZeZ2Idador.Inf"}));
  EXPECT_EQ(drivers::UsbDriverInfCandidates("D:\\Drivers", false)[0], "D:\\Drivers\\USB\\WIN7\\ZeZ2Idador.Inf");
  EXPECT_EQ(drivers::UsbDriverInfCandidates("D:\\Drivers", false)[1], "D:\\Drivers\\USB\\WIN10\\ZeZ2Idador.Inf");
}

TEST_F(UsbDriverInstallTest, StagesTheInfThatSuitsTheWindowsVersionAndTheFoldersPresent) {
  struct Case {
    bool win10;
    std::vector<std::string> folders;
    std::string chosen;
  };
  const Case cases[] = {
      {true, {"\\USB\\WIN10\\", "\\USB\\WIN7\\", "\\USB\\", "\\"}, "\\USB\\WIN10\\"},
      {false, {"\\USB\\WIN10\\", "\\USB\\WIN7\\", "\\USB\\", "\\"}, "\\USB\\WIN7\\"},
      {true, {"\\USB\\WIN7\\", "\\"}, "\\USB\\WIN7\\"},
      {false, {"\\USB\\WIN10\\", "\\USB\\"}, "\\USB\\WIN10\\"},
      {true, {"\\USB\\", "\\"}, "\\USB\\"},
      {false, {"\\"}, "\\"},
  };
  for (const Case& c : cases) {
    SimHost local(MachineKind{.is64BitWindows = false});
    for (const std::string& folder : c.folders) {
      local.files.AddFile(std::string(kDriversDir) + folder + "ZeZ2Idador.Inf", DriverInf(folder));
    }
    app::IsWin10OrLater = c.win10 ? 1 : 0;

    EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

    ASSERT_EQ(local.setup.stagings.size(), 2u);
    const std::string expected = std::string(kDriversDir) + c.chosen + "ZeZ2Idador.Inf";
    for (const auto& staging : local.setup.stagings) EXPECT_EQ(staging.source, expected);
    EXPECT_EQ(local.files.Content(local.setup.stagings[0].destination), DriverInf(c.chosen));
  }
}

TEST_F(UsbDriverInstallTest, WithoutAnyDriverInfNothingIsTouched) {
  EXPECT_EQ(dialog.InstallUsbDrivers(), 0);

  EXPECT_TRUE(host.journal.calls.empty());
  EXPECT_TRUE(host.files.sleeps.empty());
  EXPECT_TRUE(host.shell.launches.empty());
  EXPECT_EQ(host.setup.DeviceIds().size(), 3u);
  EXPECT_TRUE(host.setup.HasInf("oem3.inf"));
  EXPECT_TRUE(host.services.Exists("ZeZ2Idador"));
}

TEST_F(UsbDriverInstallTest, RemovesDevicesThenPackagesThenServicesStagesTwicePausesAndRescans) {
  const std::string infPath = PlantInf("\\USB\\WIN10\\");

  EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

  EXPECT_EQ(Steps(), (std::vector<std::string>{"SetupDiGetClassDevsA", "SetupGetInfFileListA", "OpenSCManagerA",
                                               "SetupCopyOEMInfA 0", "SetupCopyOEMInfA 4", "Sleep 1000",
                                               "CM_Locate_DevNodeA", "CM_Reenumerate_DevNode"}));
  ASSERT_EQ(host.setup.stagings.size(), 2u);
  for (const auto& staging : host.setup.stagings) {
    EXPECT_EQ(staging.source, infPath);
    EXPECT_FALSE(staging.mediaLocation.has_value());
    EXPECT_EQ(staging.mediaType, platform::kSpostPath);
    EXPECT_EQ(staging.destinationSize, 260u);
    EXPECT_EQ(staging.destination, "C:\\windows\\inf\\oem0.inf") << "the old oem3.inf was uninstalled before";
  }
  EXPECT_EQ(host.setup.InfNames(), std::vector<std::string>{"oem0.inf"});
  EXPECT_FALSE(host.services.Exists("ZeZ2Idador"));
  EXPECT_FALSE(host.setup.HasDevice("USB\\VID_1D6B&PID_0104\\EARLIER"));
  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_F622&PID_0001\\ATTACHED")) << "found again by the rescan";
  EXPECT_EQ(host.setup.removedDevices.size(), 2u);
  EXPECT_EQ(host.setup.reenumerations.size(), 1u);
}

TEST_F(UsbDriverInstallTest, RemoveOnlyClearsEverythingAndStagesNothingButStillPausesAndRescans) {
  PlantInf("\\USB\\WIN10\\");
  dialog.DriverMask = app::kDriverUsbCamera | app::kDriverRemoveOnly;

  EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

  EXPECT_EQ(Steps(), (std::vector<std::string>{"SetupDiGetClassDevsA", "SetupGetInfFileListA", "OpenSCManagerA",
                                               "Sleep 1000", "CM_Locate_DevNodeA", "CM_Reenumerate_DevNode"}));
  EXPECT_TRUE(host.setup.stagings.empty());
  EXPECT_TRUE(host.setup.InfNames().empty());
  EXPECT_FALSE(host.services.Exists("ZeZ2Idador"));
  EXPECT_FALSE(host.setup.HasDevice("USB\\VID_1D6B&PID_0104\\EARLIER"));
}

TEST_F(UsbDriverInstallTest, FailuresAfterTheInfWasFoundAreIgnored) {
  PlantInf("\\USB\\");
  for (const char* call : {"SetupDiGetClassDevsA", "SetupGetInfFileListA", "OpenSCManagerA", "SetupCopyOEMInfA"}) {
    host.machine.faults.Fail(call, platform::kErrorAccessDenied);
  }
  host.setup.locateAnswer = platform::kCrFailure;

  EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

  EXPECT_EQ(host.files.sleeps, std::vector<std::uint32_t>{1000});
  EXPECT_EQ(host.setup.stagings.size(), 2u);
}

class UsbDriverInstallUnderWow64Test : public UsbDriverInstallTest {
 protected:
  UsbDriverInstallUnderWow64Test() : UsbDriverInstallTest(true) {}
};

TEST_F(UsbDriverInstallUnderWow64Test, StartsThe64BitPartForTheDevicesAndWaitsForItBeforeThePackages) {
  const std::string infPath = PlantInf("\\USB\\WIN10\\");
  const std::string installerPart = std::string(kProgramDir) + "\\Installer_x64Part.exe";
  host.files.AddFile(installerPart, "MZ");
  bool packagesTouchedBeforeItEnded = true;
  host.shell.OnStart(installerPart, [&](const platform::sim::SimLaunch&) {
    packagesTouchedBeforeItEnded = !host.journal.calls.empty();
    return 0u;
  });

  EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

  ASSERT_EQ(host.shell.launches.size(), 1u);
  EXPECT_EQ(host.shell.launches[0].Program(), installerPart);
  EXPECT_EQ(host.shell.launches[0].Parameters(), "-rdev " + infPath) << "the path unquoted, spaces and all";
  EXPECT_FALSE(packagesTouchedBeforeItEnded);
  EXPECT_TRUE(host.setup.deviceSetFlags.empty()) << "the 32-bit process never enumerates devices itself";
  EXPECT_EQ(Steps(), (std::vector<std::string>{"start", "SetupGetInfFileListA", "OpenSCManagerA", "SetupCopyOEMInfA 0",
                                               "SetupCopyOEMInfA 4", "Sleep 1000", "CM_Locate_DevNodeA",
                                               "CM_Reenumerate_DevNode"}));
  EXPECT_FALSE(host.services.Exists("ZeZ2Idador"));
}

TEST_F(UsbDriverInstallUnderWow64Test, AMissing64BitPartIsPassedBySilently) {
  PlantInf("\\USB\\WIN7\\");

  EXPECT_EQ(dialog.InstallUsbDrivers(), 1);

  EXPECT_TRUE(host.shell.launches.empty());
  EXPECT_TRUE(host.setup.deviceSetFlags.empty());
  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_1D6B&PID_0104\\EARLIER"));
  EXPECT_EQ(host.setup.stagings.size(), 2u);
  EXPECT_EQ(host.files.sleeps, std::vector<std::uint32_t>{1000});
}

TEST(RescanDeviceTree, LocatesTheRootAndReenumeratesItOnlyWhenLocated) {
  struct Case {
    platform::ConfigRet locate, reenumerate;
    bool result;
    std::size_t reenumerations;
  };
  for (const Case& c : {Case{platform::kCrSuccess, platform::kCrSuccess, true, 1},
                        Case{platform::kCrFailure, platform::kCrSuccess, false, 0},
                        Case{platform::kCrSuccess, platform::kCrFailure, false, 1}}) {
    SimHost host;
    host.setup.locateAnswer = c.locate;
    host.setup.reenumerateAnswer = c.reenumerate;

    EXPECT_EQ(drivers::RescanDeviceTree(), c.result);

    ASSERT_EQ(host.setup.reenumerations.size(), c.reenumerations);
    if (c.reenumerations == 1) {
      platform::DevInst root = 0;
      host.setup.locateAnswer = platform::kCrSuccess;
      ASSERT_EQ(host.setup.CM_Locate_DevNodeA(root, "HTREE\\ROOT\\0", 0), platform::kCrSuccess);
      EXPECT_EQ(host.setup.reenumerations[0], std::make_pair(root, platform::kCmReenumerateNormal));
    }
  }
}

}  // namespace
