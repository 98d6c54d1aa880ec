// Looking for files and starting programs through the shell, on the simulated host.
#include <gtest/gtest.h>

#include "platform/ShellApi.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "system/ProcessLauncher.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;
using platform::sim::SimLaunch;

const std::string kInstaller = "C:\\Lumetra Package\\Drivers\\GIGE\\51\\TbDriverInstall.exe";

TEST(FileExists, AnswersWhatTheAttributeQueryFinds) {
  SimHost host;
  host.files.AddFile("C:\\Package\\SDK\\RAZEDAVE.dll");
  host.files.AddFile("C:\\windows\\syswow64\\only32.dll");
  host.files.AddFile("C:\\windows\\system32\\only64.dll");
  EXPECT_TRUE(sys::FileExists("C:\\Package\\SDK\\RAZEDAVE.dll"));
  EXPECT_TRUE(sys::FileExists("c:\\package\\sdk\\razedave.DLL"));
  EXPECT_TRUE(sys::FileExists("C:\\Package\\SDK")) << "a folder counts as existing";
  EXPECT_FALSE(sys::FileExists("C:\\Package\\SDK\\Missing.dll"));
  EXPECT_FALSE(sys::FileExists(""));

  // The 32-bit program on 64-bit Windows sees syswow64 under the name system32 while redirection is on.
  EXPECT_TRUE(sys::FileExists("C:\\windows\\system32\\only32.dll"));
  EXPECT_FALSE(sys::FileExists("C:\\windows\\system32\\only64.dll"));
  host.machine.redirectionDisabled = true;
  EXPECT_FALSE(sys::FileExists("C:\\windows\\system32\\only32.dll"));
  EXPECT_TRUE(sys::FileExists("C:\\windows\\system32\\only64.dll"));

  host.machine.faults.Fail("GetFileAttributesA", platform::kErrorAccessDenied);
  EXPECT_FALSE(sys::FileExists("C:\\Package\\SDK\\RAZEDAVE.dll")) << "an error of the query reads as missing";
}

class RunAndWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.system.currentDirectory = "C:\\Lumetra Package\\Calvant";
    host.files.AddFile(kInstaller);
  }

  SimHost host;
};

TEST_F(RunAndWaitTest, StartsThroughTheShellWithExactlyTheFieldsOfAnOpenAndWaitsWithoutLimit) {
  const std::string parameters = "-x \"C:\\With Space\\file.inf\" C:\\Other Space\\b.inf";
  EXPECT_TRUE(sys::RunAndWait(kInstaller, parameters));

  ASSERT_EQ(host.shell.launches.size(), 1u);
  const platform::ShellExecuteInfoA& request = host.shell.launches[0].request;
  EXPECT_EQ(request.cbSize, platform::kShellExecuteInfoASize);
  EXPECT_EQ(request.fMask, platform::kSeeMaskNoCloseProcess);
  EXPECT_EQ(request.hwnd, platform::kNoWindow);
  EXPECT_EQ(request.lpVerb, std::optional<std::string>("open"));
  EXPECT_EQ(request.lpFile, std::optional<std::string>(kInstaller));
  EXPECT_EQ(request.lpParameters, std::optional<std::string>(parameters)) << "passed unchanged, nothing quoted";
  EXPECT_EQ(request.lpDirectory, std::nullopt);
  EXPECT_EQ(request.nShow, platform::kSwShowNormal);
  EXPECT_EQ(host.shell.launches[0].workingDirectory, "C:\\Lumetra Package\\Calvant");

  const std::string handle = std::to_string(0x700);
  EXPECT_EQ(host.shell.events, (std::vector<std::string>{"start " + kInstaller + " " + parameters,
                                                         "wait " + handle + " 4294967295", "close " + handle}));
  EXPECT_EQ(host.shell.openProcesses, 0);
}

TEST_F(RunAndWaitTest, AMissingProgramNeverReachesTheShell) {
  EXPECT_FALSE(sys::RunAndWait("C:\\Lumetra Package\\Drivers\\GIGE\\60\\TbDriverInstall.exe", "-x"));
  host.machine.faults.Fail("GetFileAttributesA", platform::kErrorAccessDenied);
  EXPECT_FALSE(sys::RunAndWait(kInstaller, "-x"));
  EXPECT_TRUE(host.shell.events.empty());
}

TEST_F(RunAndWaitTest, AStartTheShellRefusesGivesFalseAndNothingToWaitFor) {
  host.machine.faults.Fail("ShellExecuteExA", platform::kErrorAccessDenied);
  EXPECT_FALSE(sys::RunAndWait(kInstaller, "-x"));
  EXPECT_TRUE(host.shell.events.empty());
}

TEST_F(RunAndWaitTest, AFolderIsHandedToTheShellAndWithoutAProcessNothingIsAwaited) {
  EXPECT_TRUE(sys::RunAndWait("C:\\Lumetra Package\\Drivers", ""));
  ASSERT_EQ(host.shell.launches.size(), 1u);
  EXPECT_FALSE(host.shell.launches[0].gaveProcess);
  EXPECT_EQ(host.shell.events, std::vector<std::string>{"start C:\\Lumetra Package\\Drivers "});
}

TEST_F(RunAndWaitTest, AProgramThatFailsStillCountsAsStartedAndEnded) {
  bool ran = false;
  host.shell.OnStart(kInstaller, [&](const SimLaunch&) {
    ran = true;
    return 1603u;
  });
  EXPECT_TRUE(sys::RunAndWait(kInstaller, "-TbGigeDriverAutoInstall"));
  EXPECT_TRUE(ran);
  EXPECT_EQ(host.shell.exitCodes.begin()->second, 1603u);
  EXPECT_EQ(host.shell.openProcesses, 0);
}

TEST(RunAndWait, ASystemProgramIsFoundWhereRedirectionLeadsAndStartedThere) {
  for (bool redirectionOff : {false, true}) {
    SimHost host(MachineKind{true});
    host.files.AddFile("C:\\windows\\syswow64\\RUNDLL32.EXE");
    host.files.AddFile("C:\\windows\\system32\\RUNDLL32.EXE");
    host.machine.redirectionDisabled = redirectionOff;
    EXPECT_TRUE(sys::RunAndWait("C:\\windows\\system32\\RUNDLL32.EXE", ""));
    ASSERT_EQ(host.shell.launches.size(), 1u);
    EXPECT_EQ(host.shell.launches[0].physicalProgram,
              redirectionOff ? "C:\\windows\\system32\\RUNDLL32.EXE" : "C:\\windows\\syswow64\\RUNDLL32.EXE");
    EXPECT_EQ(host.shell.launches[0].redirectionDisabled, redirectionOff);
  }
}

}  // namespace
