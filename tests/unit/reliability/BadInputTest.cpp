// Bad input, one table: long paths in the arguments and for the program's own folder, arguments the code
// page cannot hold, empty and quoted arguments, malformed INFs, a missing package, driver services the
// run cannot read, and odd HALCONROOT values. Each row ends with its sound result and changes nothing
// outside the run's targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "PackageRun.h"
#include "app/CalvantDlg.h"
#include "app/VersionFlags.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "registration/SettingsStore.h"
#include "registration/Wow64State.h"
#include "resources/resource.h"

namespace {

using platform::sim::RegView;
using platform::sim::SimHost;
using platform::sim::SimService;
using reliability::RunRecord;
using reliability::RunSetup;

// A folder path of exactly this many characters below C:\Long, in elements of at most 41 characters.
std::string PathOfLength(std::size_t length) {
  std::string path = "C:\\Long";
  while (path.size() < length) {
    const std::size_t room = length - path.size();
    if (room == 1) {
      path += 'q';
      break;
    }
    path += '\\';
    path += std::string(std::min<std::size_t>(40, room - 1), 'p');
  }
  return path;
}

// The program started unattended in English with these arguments after the language; what it left.
struct StartRecord {
  std::vector<std::string> messages;
  std::string installPath;  // the InstallPath setting as written
  std::string sdkPath;
  std::vector<std::string> started;
  std::set<std::string> changes;
  int handlesLeftOpen = 0;
};

StartRecord Start(const std::string& programPath, const std::wstring& arguments,
                  const std::function<void(SimHost&)>& adjust = {}) {
  SimHost host(platform::sim::MachineKind{true});
  reliability::LayOutPackage(host);
  if (adjust) adjust(host);
  const std::set<std::string> before = reliability::MachineState(host);
  messages::LanguageIndex = -1;
  registration::Wow64Active = 0;
  registration::SettingsKey.clear();
  registration::SettingsKeyX64.clear();
  registration::UserSettingsKey.clear();
  registration::UserSettingsKeyX64.clear();
  host.system.moduleFileName = programPath;
  host.system.commandLine = L"calvant.exe 0 a" + arguments;
  host.ui.Script(IDD_CALVANT_DIALOG, [](platform::sim::DialogSession& session) { session.PressEnter(); });
  CCalvantDlg dialog;
  dialog.DoModal();

  StartRecord record;
  for (const auto& box : host.ui.messageBoxes) record.messages.push_back(box.text);
  const std::string settings = "Software\\Selvanic\\Settings";
  record.installPath = host.registry.Value(platform::kHkeyLocalMachine, settings, RegView::Bits64, "InstallPath")
                           .value_or(platform::sim::StoredValue{})
                           .Text();
  record.sdkPath = host.registry.Value(platform::kHkeyLocalMachine, settings, RegView::Bits64, "SdkPath")
                       .value_or(platform::sim::StoredValue{})
                       .Text();
  for (const auto& launch : host.shell.launches)
    record.started.push_back(launch.physicalProgram + " " + launch.Parameters());
  const std::set<std::string> after = reliability::MachineState(host);
  std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                std::inserter(record.changes, record.changes.end()));
  record.handlesLeftOpen = host.registry.openKeys + host.files.openFinds + host.files.openTextFiles +
                           host.setup.openInfFiles + host.setup.openDeviceSets + host.services.openHandles +
                           host.shell.openProcesses;
  messages::LanguageIndex = -1;
  registration::Wow64Active = 0;
  app::IsVistaOrLater = 0;
  app::IsWin10OrLater = 0;
  return record;
}

// What the run may change: its settings, the system folders, HALCON, the INF folder, the control's
// entries, the platform filters, devices and the camera's service.
bool IsTarget(const std::string& change) {
  static const std::vector<std::string> targets = {"registry HKLM\\Software\\Selvanic",
                                                   "registry HKLM\\Software\\Wow6432Node\\Selvanic",
                                                   "registry HKLM\\Software\\Ferrolux",
                                                   "registry HKLM\\Software\\Wow6432Node\\Ferrolux",
                                                   "registry HKCU",
                                                   "registry HKCR",
                                                   "file C:\\windows\\system32",
                                                   "file C:\\windows\\syswow64",
                                                   "file C:\\windows\\inf",
                                                   "file D:\\MVTec\\HALCON-12.0\\bin",
                                                   "device",
                                                   "service ZeZ2Idador"};
  return std::any_of(targets.begin(), targets.end(), [&](const std::string& target) {
    return change.rfind(target, 0) == 0 &&
           (change.size() == target.size() || change[target.size()] == '\\' || change[target.size()] == ':' ||
            change[target.size()] == ' ' || change[target.size()] == '=');
  });
}

void ExpectOnlyTargetsChanged(const std::set<std::string>& changes) {
  for (const std::string& change : changes) EXPECT_TRUE(IsTarget(change)) << "changed outside the targets: " << change;
}

TEST(BadInput, LongPathsInTheArgumentsAreUsedWholeAndNeverCut) {
  for (std::size_t length : {259u, 260u, 261u, 320u}) {
    const std::string install = PathOfLength(length);
    const std::string sdk = PathOfLength(length) + "S";
    const std::string drivers = PathOfLength(length) + "D";
    SCOPED_TRACE("paths of " + std::to_string(length) + " characters");
    const StartRecord run =
        Start("C:\\Package Root\\Calvant\\calvant.exe",
              L" \"" + std::wstring(install.begin(), install.end()) + L"\" \"" + std::wstring(sdk.begin(), sdk.end()) +
                  L"\" \"" + std::wstring(drivers.begin(), drivers.end()) + L"\"",
              [&](SimHost& host) {
                host.files.AddFile(sdk + "\\RAZEDAVE.dll", "long RAZEDAVE.dll");
                host.files.AddFile(drivers + "\\models.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\n");
              });
    EXPECT_TRUE(run.messages.empty());  // an unattended run that succeeds shows nothing
    EXPECT_EQ(run.installPath, install);
    EXPECT_EQ(run.sdkPath, sdk);
    EXPECT_TRUE(run.changes.count("file C:\\windows\\syswow64\\RAZEDAVE.dll=long RAZEDAVE.dll"));
    ASSERT_FALSE(run.started.empty());
    EXPECT_NE(run.started[0].find(drivers + "\\models.inf"), std::string::npos);
    EXPECT_EQ(run.handlesLeftOpen, 0);
    ExpectOnlyTargetsChanged(run.changes);
  }
}

TEST(BadInput, AProgramFolderWithALongPathGivesTheDefaultsBesideIt) {
  for (std::size_t length : {259u, 260u, 261u, 320u}) {
    const std::string programDir = PathOfLength(length);
    const std::string root = programDir.substr(0, programDir.rfind('\\'));
    SCOPED_TRACE("program folder of " + std::to_string(length) + " characters");
    const StartRecord run = Start(programDir + "\\calvant.exe", L"",
                                  [&](SimHost& host) { host.files.AddFile(root + "\\SDK\\RAZEDAVE.dll", "beside"); });
    EXPECT_TRUE(run.messages.empty());
    // Windows cannot make a folder of 260 characters or more the current directory; the package folders are
    // still found beside the program.
    EXPECT_EQ(run.installPath, root);
    EXPECT_EQ(run.sdkPath, root + "\\SDK");
    EXPECT_EQ(run.changes.count("file C:\\windows\\syswow64\\RAZEDAVE.dll=beside"), 1u);
    ExpectOnlyTargetsChanged(run.changes);
  }
}

TEST(BadInput, ArgumentsThatAreEmptyQuotedOrNotInTheCodePageKeepTheDefaults) {
  struct Case {
    std::string name;
    std::wstring arguments;
    std::string installPath;
  };
  const std::vector<Case> cases = {
      {"empty install argument", L" \"\" \"\" \"\"", "C:\\Package Root"},
      {"quoted path with blanks", L" \"C:\\Other Root\"", "C:\\Other Root"},
      {"argument the code page cannot hold", L" C:\\\x4E2D\x6587", "C:\\Package Root"},
      {"language only", L"", "C:\\Package Root"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StartRecord run = Start("C:\\Package Root\\Calvant\\calvant.exe", c.arguments);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(run.installPath, c.installPath);
    ExpectOnlyTargetsChanged(run.changes);
  }
}

// Rows that the run meets in the package, the registry, the services or the environment.
struct RunCase {
  std::string name;
  bool is64BitWindows;
  std::function<void(SimHost&)> adjust;
  std::function<void(const RunRecord&)> check;
};

std::string CameraInf(const std::string& body) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\n" + body;
}

// Whether the line changed; a file's line is matched whatever its content ("file PATH=...").
bool Changed(const RunRecord& run, const std::string& line) {
  return std::any_of(run.changes.begin(), run.changes.end(),
                     [&](const std::string& change) { return change == line || change.rfind(line + "=", 0) == 0; });
}

const std::string kEarlierDevice = "device USB\\VID_1D6B&PID_0104\\EARLIER";
const std::string kCameraPackage = "file C:\\windows\\inf\\oem3.inf";

// A literal's bytes, NULs included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::vector<RunCase> RunCases() {
  auto driverInf = [](std::string text) {
    return [text](SimHost& host) { host.files.AddFile(reliability::kDriverInf, text); };
  };
  auto oemInf = [](std::string text) { return [text](SimHost& host) { host.setup.AddInf("oem3.inf", text); }; };
  auto halcon = [](std::string root) { return [root](SimHost& host) { host.files.environment["HALCONROOT"] = root; }; };
  const std::string idLine = "; USB\\VID_1D6B&PID_0104\r\n";
  return {
      {"driver INF with an identifier after 1023 bytes of one line (cut by the piece limit)", false,
       driverInf(CameraInf(std::string(1020, 'x') + "USB\\VID_1D6B&PID_0104\r\n")),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kEarlierDevice)); }},
      {"driver INF with a line of more than 100 000 bytes before the identifier", false,
       driverInf(CameraInf(std::string(100001, 'y') + "\r\n" + idLine)),
       [](const RunRecord& run) { EXPECT_TRUE(Changed(run, kEarlierDevice)); }},
      {"driver INF of binary bytes, with NUL and Ctrl-Z", false,
       driverInf(Bytes("\x00\xff\xfe[Ver\x00"
                       "sion]\x1a"
                       "USB\\VID_1D6B&PID_0104") +
                 idLine),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kEarlierDevice)); }},
      {"driver INF cut in the middle of an identifier", false, driverInf(CameraInf("; USB\\VID_1D6B&PI")),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kEarlierDevice)); }},
      {"driver INF whose last line has no line end", false, driverInf(CameraInf("; USB\\VID_1D6B&PID_0104")),
       [](const RunRecord& run) { EXPECT_TRUE(Changed(run, kEarlierDevice)); }},
      {"empty driver INF", false, driverInf(""),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kEarlierDevice)); }},
      {"OEM INF of binary bytes", true,
       oemInf(Bytes("\x00\x01\xff[Strings]\x00"
                    "DeviceID=VID_F622")),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kCameraPackage)); }},
      {"OEM INF cut after its section name", true, oemInf(CameraInf("[SourceDisksFiles]\r\nZeZ2Idador.sys=")),
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kCameraPackage)); }},
      {"OEM INF with a DeviceID line of more than 100 000 bytes", true,
       oemInf(CameraInf("[Strings]\r\nDeviceID=\"VID_F622" + std::string(100001, 'z') + "\"\r\n")),
       [](const RunRecord& run) { EXPECT_TRUE(Changed(run, kCameraPackage)); }},
      {"empty OEM INF", true, oemInf(""), [](const RunRecord& run) { EXPECT_FALSE(Changed(run, kCameraPackage)); }},
      {"missing package", true,
       [](SimHost& host) {
         for (const std::string& path : host.files.Below("C:\\Package Root")) host.files.DeleteFileA(path);
       },
       [](const RunRecord& run) {
         // Nothing to copy counts as deployed; no INF, installer or driver package: nothing started or removed.
         for (const std::string& change : run.changes) EXPECT_EQ(change.find("RAZEDAVE"), std::string::npos);
         EXPECT_TRUE(run.started.empty());
         EXPECT_FALSE(Changed(run, kCameraPackage));
         EXPECT_FALSE(Changed(run, "service ZeZ2Idador"));
       }},
      {"camera driver service without an image path", true,
       [](SimHost& host) {
         host.services.Add(SimService{reliability::kCameraService, "Camera", platform::kServiceKernelDriver, ""});
       },
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, "service ZeZ2Idador")); }},
      {"camera driver service whose configuration cannot be read", true,
       [](SimHost& host) {
         SimService service{reliability::kCameraService, "Camera", platform::kServiceKernelDriver,
                            "drivers\\ZeZ2Idador.sys"};
         service.configRefusal = platform::kErrorAccessDenied;
         host.services.Add(service);
       },
       [](const RunRecord& run) { EXPECT_FALSE(Changed(run, "service ZeZ2Idador")); }},
      {"HALCONROOT relative", true, halcon("MVTec\\HALCON-12.0"),
       [](const RunRecord& run) {
         for (const std::string& change : run.changes) EXPECT_EQ(change.find("hAcq"), std::string::npos);
       }},
      {"HALCONROOT of more than 300 characters", true, halcon("D:\\" + std::string(320, 'h') + "\\HALCON-12.0"),
       [](const RunRecord& run) {
         for (const std::string& change : run.changes) EXPECT_EQ(change.find("hAcq"), std::string::npos);
       }},
      {"HALCONROOT ending in a backslash", true, halcon(std::string(reliability::kHalconRoot) + "\\"),
       [](const RunRecord& run) {
         EXPECT_TRUE(
             Changed(run, "file D:\\MVTec\\HALCON-12.0\\bin\\x86-win32\\hAcqSelvanic12.dll=hAcqSelvanic12.dll"));
       }},
  };
}

TEST(BadInput, PackageRegistryServicesAndEnvironmentEndWithTheirSoundResult) {
  for (const RunCase& c : RunCases()) {
    SCOPED_TRACE(c.name);
    RunSetup setup;
    setup.is64BitWindows = c.is64BitWindows;
    setup.driverMask = 3;
    const RunRecord run = reliability::RunOnce(setup, std::nullopt, c.adjust);
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, reliability::SuccessText());
    EXPECT_EQ(run.handlesLeftOpen, 0);
    ExpectOnlyTargetsChanged(run.changes);
    c.check(run);
  }
}

}  // namespace
