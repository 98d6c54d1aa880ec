// The registration run's deployment steps: the copies, the HALCON interface, the control, the model INF
// and the GigE installers, in their order and with file-system redirection where each one needs it.
#include <gtest/gtest.h>

#include "support/RunFixture.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;
using platform::sim::SimLaunch;
using testing_support::Message;
using testing_support::StartProgram;

const std::string kRoot = "C:\\Package Root";
const std::string kSdk = kRoot + "\\SDK";
const std::string kDrivers = kRoot + "\\Drivers";
const std::string kControl = kSdk + "\\Ferrocam.ocx";

// The package of a release: every file the run copies, registers or starts.
void AddPackage(SimHost& host) {
  for (const char* file : {"RAZEDAVE.dll", "X64\\RAZEDAVE_X64.dll", "Selvanic.ax", "X64\\Selvanic64.ax", "Ferrocam.ocx",
                           "hAcqSelvanic.dll", "hAcqSelvanic12.dll", "X64\\hAcqSelvanic12_X64.dll"}) {
    host.files.AddFile(kSdk + "\\" + file, file);
  }
  host.files.AddFile(kDrivers + "\\models.inf");
  for (const char* installer : {"51\\TbDriverInstall.exe", "60\\TbDriverInstall.exe", "51\\TbDriverInstall_X64.exe",
                                "60\\TbDriverInstall_X64.exe"}) {
    host.files.AddFile(kDrivers + "\\GIGE\\WIN10\\" + installer);
  }
  host.files.AddFile("C:\\windows\\system32\\RUNDLL32.EXE");
  if (host.machine.is64BitWindows) host.files.AddFile("C:\\windows\\syswow64\\RUNDLL32.EXE");
  host.files.environment["HALCONROOT"] = "D:\\MVTec\\HALCON-12.0";
  for (const char* folder : {"x86sse2-win32", "x86-win32", "x64-win64"}) {
    host.files.AddDirectory("D:\\MVTec\\HALCON-12.0\\bin\\" + std::string(folder));
  }
  host.modules.libraries[kControl] = platform::sim::SimLibrary{};
  host.system.version = {10, 0, 19045};
}

// What a started program saw: its file where it really was, its parameters, whether redirection was off.
struct Started {
  std::string program;
  std::string parameters;
  bool redirectionOff;
  bool operator==(const Started&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Started& s) {
  return out << s.program << ' ' << s.parameters << (s.redirectionOff ? " (redirection off)" : "");
}

std::vector<Started> StartedPrograms(const SimHost& host) {
  std::vector<Started> started;
  for (const SimLaunch& launch : host.shell.launches) {
    started.push_back({launch.physicalProgram, launch.Parameters(), launch.redirectionDisabled});
  }
  return started;
}

TEST(DeploymentRun, OnA64BitWindowsEveryStepReachesItsOwnFoldersAndRunsInOrder) {
  SimHost host(MachineKind{true});
  AddPackage(host);
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 1 a");

  for (const auto& [file, folder] :
       std::vector<std::pair<std::string, std::string>>{{"RAZEDAVE.dll", "syswow64"},
                                                        {"Selvanic.ax", "syswow64"},
                                                        {"X64\\RAZEDAVE_X64.dll", "system32"},
                                                        {"X64\\Selvanic64.ax", "system32"}}) {
    const std::string name = file.substr(file.rfind('\\') + 1);
    EXPECT_EQ(host.files.Content("C:\\windows\\" + folder + "\\" + name), file);
  }
  EXPECT_FALSE(host.files.Exists("C:\\windows\\system32\\RAZEDAVE.dll"));
  for (const char* folder : {"x86sse2-win32", "x86-win32"}) {
    EXPECT_TRUE(host.files.Exists("D:\\MVTec\\HALCON-12.0\\bin\\" + std::string(folder) + "\\hAcqSelvanic12.dll"));
  }
  EXPECT_TRUE(host.files.Exists("D:\\MVTec\\HALCON-12.0\\bin\\x64-win64\\hAcqSelvanic12_X64.dll"));

  EXPECT_EQ(host.modules.events, (std::vector<std::string>{"disable", "load " + kControl, "register " + kControl,
                                                           "free " + kControl, "revert"}));
  const std::string gige = kDrivers + "\\GIGE\\WIN10\\";
  EXPECT_EQ(StartedPrograms(host),
            (std::vector<Started>{
                {"C:\\windows\\system32\\RUNDLL32.EXE",
                 "SETUPAPI.DLL,InstallHinfSection DefaultInstall 128 C:\\Package Root\\Drivers\\models.inf", true},
                {gige + "51\\TbDriverInstall_X64.exe", "-TbGigeDriverAutoUninstall", false},
                {gige + "60\\TbDriverInstall_X64.exe", "-TbGigeDriverAutoUninstall", false},
                {gige + "60\\TbDriverInstall_X64.exe", "-TbGigeDriverAutoInstall", false},
            }));
  for (const SimLaunch& launch : host.shell.launches) EXPECT_EQ(launch.workingDirectory, kRoot + "\\Calvant");
  EXPECT_EQ(host.shell.openProcesses, 0);
  EXPECT_TRUE(host.ui.messageBoxes.empty());
}

TEST(DeploymentRun, OnA32BitWindowsOnlySystem32AndThe32BitInstallersAreUsed) {
  SimHost host(MachineKind{false});
  AddPackage(host);
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 0 g");
  EXPECT_EQ(host.files.Content("C:\\windows\\system32\\RAZEDAVE.dll"), "RAZEDAVE.dll");
  EXPECT_EQ(host.files.Content("C:\\windows\\system32\\Selvanic.ax"), "Selvanic.ax");
  EXPECT_EQ(host.files.Below("C:\\windows\\system32"),
            (std::vector<std::string>{"C:\\windows\\system32\\RAZEDAVE.dll", "C:\\windows\\system32\\RUNDLL32.EXE",
                                      "C:\\windows\\system32\\Selvanic.ax"}));
  const std::string gige = kDrivers + "\\GIGE\\WIN10\\";
  EXPECT_EQ(StartedPrograms(host),
            (std::vector<Started>{
                {"C:\\windows\\system32\\RUNDLL32.EXE",
                 "SETUPAPI.DLL,InstallHinfSection DefaultInstall 128 C:\\Package Root\\Drivers\\models.inf", false},
                {gige + "51\\TbDriverInstall.exe", "-TbGigeDriverAutoUninstall", false},
                {gige + "60\\TbDriverInstall.exe", "-TbGigeDriverAutoUninstall", false},
                {gige + "60\\TbDriverInstall.exe", "-TbGigeDriverAutoInstall", false},
            }));
}

TEST(DeploymentRun, WithoutTheGigeChoiceOnlyTheModelInfIsStartedAndSuccessIsShown) {
  SimHost host(MachineKind{true});
  AddPackage(host);
  CCalvantDlg dialog;
  host.ui.Script(IDD_CALVANT_DIALOG, [](platform::sim::DialogSession& session) {
    session.Click(IDC_CHECK_USB_CAMERA);  // no drivers at all
    session.PressEnter();
  });
  testing_support::ResetProcessState();
  host.system.moduleFileName = testing_support::kProgramPath;
  host.system.commandLine = L"calvant.exe";
  dialog.DoModal();
  ASSERT_EQ(dialog.DriverMask, 0u);
  ASSERT_EQ(host.shell.launches.size(), 1u);
  EXPECT_EQ(host.shell.launches[0].physicalProgram, "C:\\windows\\system32\\RUNDLL32.EXE");
  ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.ui.messageBoxes[0].caption, "Lumetra");
}

TEST(DeploymentRun, AFailedCopyReportsItsCodeAndNothingAfterItHappens) {
  struct Case {
    bool is64Bit;
    std::string blocked;  // physical destination that cannot be replaced
    int code;
    std::size_t copiedBefore;
  };
  const std::vector<Case> cases{
      {false, "C:\\windows\\system32\\RAZEDAVE.dll", 3, 0}, {false, "C:\\windows\\system32\\Selvanic.ax", 5, 1},
      {true, "C:\\windows\\syswow64\\RAZEDAVE.dll", 6, 0},  {true, "C:\\windows\\system32\\RAZEDAVE_X64.dll", 6, 1},
      {true, "C:\\windows\\system32\\Selvanic64.ax", 8, 2}, {true, "C:\\windows\\syswow64\\Selvanic.ax", 9, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blocked);
    SimHost host(MachineKind{c.is64Bit});
    AddPackage(host);
    host.files.AddDirectory(c.blocked);
    std::vector<bool> redirectionOffAtBox;
    host.ui.onMessageBox = [&](const platform::sim::MessageBoxRecord&) {
      redirectionOffAtBox.push_back(host.machine.redirectionDisabled);
    };
    CCalvantDlg dialog;
    StartProgram(host, dialog, L" 1 a");

    ASSERT_EQ(host.ui.messageBoxes.size(), 1u) << "an unattended run still reports its failure";
    EXPECT_EQ(host.ui.messageBoxes[0].text,
              Message(messages::kRowRegistrationFailed, 1) + "\r\nerr=" + std::to_string(c.code));
    EXPECT_EQ(host.ui.messageBoxes[0].caption, Message(messages::kRowErrorCaption, 1));
    EXPECT_EQ(redirectionOffAtBox, std::vector<bool>{c.is64Bit}) << "switched back after the box is closed";
    EXPECT_EQ(host.files.copies.size(), c.copiedBefore);
    EXPECT_TRUE(host.shell.launches.empty());
    const std::vector<std::string> redirectionOnly{"disable", "revert"};
    EXPECT_EQ(host.modules.events, c.is64Bit ? redirectionOnly : std::vector<std::string>{});
    EXPECT_FALSE(host.files.Exists("D:\\MVTec\\HALCON-12.0\\bin\\x86-win32\\hAcqSelvanic12.dll"));
  }
}

}  // namespace
