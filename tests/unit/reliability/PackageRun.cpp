#include "PackageRun.h"

#include <algorithm>
#include <cstdio>

#include "app/CalvantDlg.h"
#include "app/VersionFlags.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "registration/SettingsStore.h"
#include "registration/Wow64State.h"
#include "system/FilterRegistrations.h"

namespace reliability {
namespace {

using platform::sim::RegView;
using platform::sim::SimDevice;
using platform::sim::SimHost;
using platform::sim::SimService;

constexpr int kEnglish = 0;

std::string Cell(int row) { return std::string(messages::MessageTable[row][kEnglish].stored); }

std::string InfText(const std::string& sections) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\n\r\n" + sections;
}

const std::string kCameraInf = InfText(
    "[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n[Models]\r\n%Cam%=Install,USB\\VID_1D6B&PID_0104\r\n"
    "[Strings]\r\nDeviceID=\"VID_F622\"\r\nCam=\"Camera\"\r\n");

void ResetProcessState() {
  messages::LanguageIndex = kEnglish;
  registration::Wow64Active = 0;
  app::IsVistaOrLater = 1;
  app::IsWin10OrLater = 1;
  registration::SettingsKey.clear();
  registration::SettingsKeyX64.clear();
  registration::UserSettingsKey.clear();
  registration::UserSettingsKeyX64.clear();
}

std::set<std::string> Changes(const std::set<std::string>& before, const std::set<std::string>& after) {
  std::set<std::string> changes;
  std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                std::inserter(changes, changes.end()));
  return changes;
}

}  // namespace

void LayOutPackage(SimHost& host) {
  const std::string sdk = kSdkDir;
  const std::string drivers = kDriversDir;
  for (const char* file : {"RAZEDAVE.dll", "X64\\RAZEDAVE_X64.dll", "Selvanic.ax", "X64\\Selvanic64.ax", "Ferrocam.ocx",
                           "hAcqSelvanic.dll", "hAcqSelvanic12.dll", "X64\\hAcqSelvanic12_X64.dll"}) {
    host.files.AddFile(sdk + "\\" + file, file);
  }
  host.files.AddFile(drivers + "\\models.inf", InfText("[DefaultInstall]\r\n"));
  host.files.AddFile(kDriverInf, kCameraInf);
  host.files.AddFile(drivers + "\\USB\\WIN7\\ZeZ2Idador.Inf", kCameraInf);
  for (const char* installer : {"51\\TbDriverInstall.exe", "60\\TbDriverInstall.exe", "51\\TbDriverInstall_X64.exe",
                                "60\\TbDriverInstall_X64.exe"}) {
    host.files.AddFile(drivers + "\\GIGE\\WIN10\\" + installer);
  }
  host.files.AddFile(std::string(kProgramDir) + "\\calvant.exe");
  host.files.AddFile(std::string(kProgramDir) + "\\Installer_x64Part.exe");
  host.files.AddFile("C:\\windows\\system32\\RUNDLL32.EXE");
  if (host.machine.is64BitWindows) host.files.AddFile("C:\\windows\\syswow64\\RUNDLL32.EXE");
  host.files.environment["HALCONROOT"] = kHalconRoot;
  for (const char* folder : {"x86sse2-win32", "x86-win32", "x64-win64"}) {
    host.files.AddDirectory(std::string(kHalconRoot) + "\\bin\\" + folder);
  }
  // The control enters itself in the registry when it is registered.
  const std::string control = sdk + "\\Ferrocam.ocx";
  platform::sim::SimLibrary library;
  library.onRegisterServer = [&host] {
    host.registry.SetString(platform::kHkeyClassesRoot, "CLSID\\{0C1F3A52-0000-4C6E-9A1B-FE770CA30001}",
                            RegView::Bits32, "", "Ferrocam");
  };
  host.modules.libraries[control] = library;

  // What an earlier installation left, and what belongs to others.
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\ATTACHED", true});
  host.setup.AddDevice(SimDevice{"USB\\VID_1D6B&PID_0104\\EARLIER", false});
  host.setup.AddDevice(SimDevice{"PCI\\VEN_8086&DEV_1234\\0", true});
  host.setup.AddInf("oem3.inf", kCameraInf);
  host.setup.AddInf("oem7.inf", InfText("[SourceDisksFiles]\r\nother.sys=1\r\n[Strings]\r\nDeviceID=\"VID_1234\"\r\n"));
  host.setup.AddInf("usb.inf", kCameraInf);
  host.services.Add(SimService{kCameraService, "Camera", platform::kServiceKernelDriver,
                               "\\SystemRoot\\System32\\drivers\\ZeZ2Idador.sys", true});
  host.services.Add(
      SimService{kOtherService, "Beep", platform::kServiceKernelDriver, "\\SystemRoot\\System32\\drivers\\beep.sys"});
  const std::string platformFilter = std::string(sys::kPlatformFilterPrefix) + "01}";
  for (std::string_view category : {sys::kVideoInputInstanceKey, sys::kLegacyFilterInstanceKey}) {
    const std::string instances(category);
    host.registry.SetString(platform::kHkeyClassesRoot, instances + "\\" + platformFilter, RegView::Bits32,
                            "FriendlyName", "Old camera");
    host.registry.SetString(platform::kHkeyClassesRoot, instances + "\\{00000000-1111-2222-3333-444444444444}",
                            RegView::Bits32, "FriendlyName", "Another maker's camera");
  }
  host.registry.SetString(platform::kHkeyLocalMachine, "Software\\Other\\Settings", RegView::Bits32, "Keep", "yes");
  host.system.version = {10, 0, 19045};
}

std::set<std::string> MachineState(SimHost& host) {
  std::set<std::string> state;
  for (const std::string& line : host.registry.Snapshot()) state.insert("registry " + line);
  for (const char* drive : {"C:", "D:"}) {
    for (const std::string& path : host.files.Below(drive)) {
      const std::optional<std::string> content = host.files.Content(path);
      state.insert("file " + path + (content ? "=" + *content : "\\"));
    }
  }
  for (const std::string& id : host.setup.DeviceIds()) state.insert("device " + id);
  for (const char* service : {kCameraService, kOtherService}) {
    if (host.services.Exists(service)) state.insert("service " + std::string(service));
  }
  return state;
}

RunRecord RunOnce(const RunSetup& setup, const std::optional<Fault>& fault, const Adjustment& adjust) {
  SimHost host(platform::sim::MachineKind{setup.is64BitWindows});
  LayOutPackage(host);
  if (adjust) adjust(host);
  const std::set<std::string> before = MachineState(host);

  ResetProcessState();
  CCalvantDlg dialog;
  dialog.LanguageRadio = kEnglish;
  dialog.Unattended = 0;
  dialog.DriverMask = setup.driverMask;
  dialog.ProgramDir = setup.programDir;
  dialog.InstallDir = setup.installDir;
  dialog.SdkDir = setup.sdkDir;
  dialog.DriversDir = setup.driversDir;

  RunRecord record;
  host.ui.onMessageBox = [&](const platform::sim::MessageBoxRecord& box) {
    record.messages.push_back({box.text, box.caption, host.machine.redirectionDisabled});
  };
  if (fault) host.machine.faults.FailNth(fault->call, fault->nth, fault->error);
  record.result = dialog.RunRegistration();

  record.calls = host.machine.faults.Answered();
  for (const std::string& event : host.modules.events) {
    if (event == "disable" || event == "revert") record.redirection.push_back(event);
  }
  record.redirectionOffAtEnd = host.machine.redirectionDisabled;
  for (const platform::sim::SimLaunch& launch : host.shell.launches) {
    record.started.push_back({launch.physicalProgram, launch.redirectionDisabled});
  }
  record.changes = Changes(before, MachineState(host));
  for (const std::string& id : host.setup.removedDevices) record.removedDevices.insert("device " + id);
  record.handlesLeftOpen = host.registry.openKeys + host.files.openFinds + host.files.openTextFiles +
                           host.setup.openInfFiles + host.setup.openDeviceSets + host.services.openHandles +
                           host.shell.openProcesses;
  record.librariesLeftLoaded = host.modules.loadedLibraries;
  ResetProcessState();
  return record;
}

std::string SuccessText() { return Cell(messages::kRowInstallSuccess); }
std::string ErrorCaption() { return Cell(messages::kRowErrorCaption); }
std::string NumberedErrorText(int code) {
  return Cell(messages::kRowRegistrationFailed) + "\r\nerr=" + std::to_string(code);
}
std::string ApiLoadFailedText() { return Cell(messages::kRowApiLoadFailed); }
std::string OperationFailedText(std::uint32_t error) {
  char text[256] = {};
  std::snprintf(text, sizeof(text), Cell(messages::kRowOperationFailed).c_str(), static_cast<int>(error));
  return text;
}

}  // namespace reliability
