// Every platform call the registration run makes, failed in turn: the run learns the calls from a run
// that nothing disturbs, then fails each call (the nth of its name) once with each error that matters for
// it, and checks that the run ends with the outcome its rules give for that failure, with the right
// messages, redirection switched back exactly when it was switched off, and nothing changed on the
// machine that the run does not change when nothing fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "PackageRun.h"
#include "platform/WinConstants.h"

namespace {

using platform::sim::AnsweredCall;
using reliability::Fault;
using reliability::RunRecord;
using reliability::RunSetup;
using reliability::ShownMessage;

// Calls that have no failure to give: the answer is the same whether or not a failure is planned.
const std::set<std::string> kCannotFail = {"Sleep", "fclose", "SetupCloseInfFile"};

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorAccessDenied = platform::kErrorAccessDenied;
constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorInsufficientBuffer = platform::kErrorInsufficientBuffer;
constexpr std::uint32_t kErrorModNotFound = 126;
constexpr std::uint32_t kErrorProcNotFound = 127;
constexpr std::uint32_t kErrorEnvvarNotFound = 203;
constexpr std::uint32_t kErrorMoreData = platform::kErrorMoreData;
constexpr std::uint32_t kErrorServiceNotActive = platform::kErrorServiceNotActive;
constexpr std::uint32_t kErrorServiceMarkedForDelete = platform::kErrorServiceMarkedForDelete;
constexpr std::uint32_t kEFail = 0x80004005;

// The errors that matter for each call: one failure of the kind Windows gives for it, and a second one
// where the run tells errors apart (a buffer too small, more data, a package in use, the switch-off
// whose number is shown).
std::vector<std::uint32_t> ErrorsFor(const std::string& call) {
  static const std::map<std::string, std::vector<std::uint32_t>> errors = {
      {"RegOpenKeyExA", {kErrorAccessDenied}},
      {"RegCreateKeyExA", {kErrorAccessDenied}},
      {"RegSetValueExA", {kErrorAccessDenied}},
      {"RegEnumKeyA", {kErrorMoreData}},
      {"RegDeleteKeyA", {kErrorAccessDenied}},
      {"RegCloseKey", {kErrorInvalidHandle}},
      {"GetModuleHandleA", {kErrorModNotFound}},
      {"GetProcAddress", {kErrorProcNotFound}},
      {"IsWow64Process", {kErrorAccessDenied}},
      {"Wow64DisableWow64FsRedirection", {kErrorAccessDenied, 1}},
      {"Wow64RevertWow64FsRedirection", {kErrorAccessDenied}},
      {"LoadLibraryA", {kErrorModNotFound}},
      {"FreeLibrary", {kErrorInvalidHandle}},
      {"DllRegisterServer", {kEFail}},
      {"GetSystemDirectoryA", {kErrorInsufficientBuffer}},
      {"GetWindowsDirectoryA", {kErrorInsufficientBuffer}},
      {"GetFileAttributesA", {kErrorAccessDenied}},
      {"CopyFileA", {kErrorSharingViolation}},
      {"DeleteFileA", {kErrorSharingViolation}},
      {"GetEnvironmentVariableA", {kErrorEnvvarNotFound}},
      {"FindFirstFileA", {kErrorPathNotFound}},
      {"FindNextFileA", {kErrorAccessDenied}},
      {"FindClose", {kErrorInvalidHandle}},
      {"fopen", {kErrorAccessDenied}},
      {"fgets", {kErrorAccessDenied}},
      {"ShellExecuteExA", {kErrorFileNotFound}},
      {"WaitForSingleObject", {kErrorInvalidHandle}},
      {"CloseHandle", {kErrorInvalidHandle}},
      {"SetupGetInfFileListA", {kErrorInsufficientBuffer, kErrorAccessDenied}},
      {"SetupUninstallOEMInfA", {platform::kErrorInfInUseByDevices, kErrorAccessDenied}},
      {"SetupOpenInfFileA", {platform::kErrorWrongInfStyle}},
      {"SetupFindFirstLineA", {platform::kErrorLineNotFound}},
      {"SetupGetStringFieldA", {kErrorInsufficientBuffer}},
      {"SetupCopyOEMInfA", {kErrorAccessDenied}},
      {"SetupDiGetClassDevsA", {kErrorInvalidParameter}},
      {"SetupDiEnumDeviceInfo", {kErrorInvalidParameter}},
      {"SetupDiDestroyDeviceInfoList", {kErrorInvalidHandle}},
      {"SetupDiSetClassInstallParamsA", {kErrorInvalidParameter}},
      {"SetupDiCallClassInstaller", {platform::kErrorInWow64}},
      {"CM_Get_Device_IDA", {platform::kCrBufferSmall}},
      {"CM_Locate_DevNodeA", {platform::kCrFailure}},
      {"CM_Reenumerate_DevNode", {platform::kCrFailure}},
      {"OpenSCManagerA", {kErrorAccessDenied}},
      {"EnumServicesStatusA", {kErrorMoreData, kErrorAccessDenied}},
      {"OpenServiceA", {kErrorAccessDenied}},
      {"QueryServiceConfigA", {kErrorInsufficientBuffer, kErrorAccessDenied}},
      {"ControlService", {kErrorServiceNotActive}},
      {"DeleteService", {kErrorServiceMarkedForDelete}},
      {"CloseServiceHandle", {kErrorInvalidHandle}},
  };
  auto found = errors.find(call);
  return found == errors.end() ? std::vector<std::uint32_t>{} : found->second;
}

// What the run's rules give for one failed call.
struct Outcome {
  enum class Kind { Success, SuccessWithoutWow64, Numbered, EntryPointMissing, SwitchOffRefused } kind;
  int code = 0;
};

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// A settings key path without its view and without the _X64 suffix: both keys of one setting compare equal.
std::string SettingsBase(const std::string& detail) {
  std::string path = detail.substr(0, detail.find(": "));
  if (auto wow = path.find("\\Wow6432Node"); wow != std::string::npos) path.erase(wow, 12);
  if (path.size() > 4 && path.compare(path.size() - 4, 4, "_X64") == 0) path.resize(path.size() - 4);
  return path;
}

bool IsRegistryCall(const std::string& name) { return StartsWith(name, "Reg"); }
bool IsKeyOpen(const std::string& name) { return name == "RegOpenKeyExA" || name == "RegCreateKeyExA"; }
bool IsMachineSettings(const AnsweredCall& call) {
  return StartsWith(call.detail, "HKLM\\") && call.detail.find("\\Selvanic\\Settings") != std::string::npos;
}
bool IsUserSettings(const AnsweredCall& call) { return StartsWith(call.detail, "HKCU\\"); }

std::size_t FirstIndexOf(const std::vector<AnsweredCall>& calls, const std::string& name) {
  for (std::size_t at = 0; at < calls.size(); ++at) {
    if (calls[at].name == name) return at;
  }
  return calls.size();
}

// The outcome for a failure of calls[at] (the nth call of its name) with the error.
Outcome Expected(const RunSetup& setup, const std::vector<AnsweredCall>& calls, std::size_t at, std::size_t nth) {
  using Kind = Outcome::Kind;
  const AnsweredCall& call = calls[at];
  const std::size_t detection = FirstIndexOf(calls, "IsWow64Process");
  const std::size_t switchOff = FirstIndexOf(calls, "Wow64DisableWow64FsRedirection");
  if (at <= detection &&
      (call.name == "GetModuleHandleA" || call.name == "GetProcAddress" || call.name == "IsWow64Process")) {
    return {setup.is64BitWindows ? Kind::SuccessWithoutWow64 : Kind::Success};
  }
  const bool redirectionLookup = (call.name == "GetModuleHandleA" && at > detection && at < switchOff) ||
                                 (call.name == "GetProcAddress" && StartsWith(call.detail, "Wow64"));
  if (redirectionLookup) return {Kind::EntryPointMissing};
  if (call.name == "Wow64DisableWow64FsRedirection") return {Kind::SwitchOffRefused};
  if (call.name == "GetSystemDirectoryA" && nth == 1) return {Kind::Numbered, 2};
  if (call.name == "CopyFileA") {
    const std::vector<int> codes = setup.is64BitWindows ? std::vector<int>{6, 6, 8, 9} : std::vector<int>{3, 5};
    if (nth <= codes.size()) return {Kind::Numbered, codes[nth - 1]};
  }
  if (IsRegistryCall(call.name) && IsUserSettings(call)) return {Kind::Numbered, 1};
  if (IsKeyOpen(call.name) && IsMachineSettings(call)) {
    // The 64-bit view of a setting written into both views may be missing unnoticed.
    const bool secondOfPair = at > 0 && IsKeyOpen(calls[at - 1].name) && IsMachineSettings(calls[at - 1]) &&
                              SettingsBase(calls[at - 1].detail) == SettingsBase(call.detail) &&
                              calls[at - 1].detail != call.detail;
    if (!secondOfPair) return {Kind::Numbered, 1};
  }
  return {Kind::Success};
}

std::string Describe(const RunSetup& setup, const Fault& fault) {
  std::ostringstream out;
  out << (setup.is64BitWindows ? "64-bit" : "32-bit") << " Windows, DriverMask 0x" << std::hex << setup.driverMask
      << ", " << fault.call << " #" << std::dec << fault.nth << " failing with " << fault.error;
  return out.str();
}

// Redirection events of a run that switched it off and back.
const std::vector<std::string> kSwitchedOffAndBack = {"disable", "revert"};

void CheckOutcome(const RunSetup& setup, const Fault& fault, const Outcome& expected, const RunRecord& run,
                  std::size_t faultAt) {
  using Kind = Outcome::Kind;
  const bool wow64 = setup.is64BitWindows && expected.kind != Kind::SuccessWithoutWow64;
  switch (expected.kind) {
    case Kind::Success:
    case Kind::SuccessWithoutWow64:
      EXPECT_EQ(run.result, 1);
      // A switch-back that Windows refused leaves redirection off to the end.
      EXPECT_EQ(run.messages, (std::vector<ShownMessage>{{reliability::SuccessText(), "Lumetra",
                                                          wow64 && fault.call == "Wow64RevertWow64FsRedirection"}}));
      EXPECT_EQ(run.redirection, wow64 ? kSwitchedOffAndBack : std::vector<std::string>{});
      break;
    case Kind::Numbered:
      EXPECT_EQ(run.result, 0);
      // The box is up while redirection is still off; it is switched back once the box is closed.
      EXPECT_EQ(run.messages, (std::vector<ShownMessage>{{reliability::NumberedErrorText(expected.code),
                                                          reliability::ErrorCaption(), wow64}}));
      EXPECT_EQ(run.redirection, wow64 ? kSwitchedOffAndBack : std::vector<std::string>{});
      EXPECT_TRUE(run.started.empty());
      // Nothing after the failing step: only the rest of the failing operation and the switch-back.
      for (std::size_t at = faultAt + 1; at < run.calls.size(); ++at) {
        const AnsweredCall& call = run.calls[at];
        const bool sameSetting =
            IsRegistryCall(call.name) && SettingsBase(call.detail) == SettingsBase(run.calls[faultAt].detail);
        const bool finishesCopy = call.name == "GetFileAttributesA" && fault.call == "CopyFileA";
        EXPECT_TRUE(sameSetting || finishesCopy || call.name == "Wow64RevertWow64FsRedirection")
            << "after the failure: " << call.name << " " << call.detail;
      }
      break;
    case Kind::EntryPointMissing:
      EXPECT_EQ(run.result, 0);
      EXPECT_EQ(run.messages,
                (std::vector<ShownMessage>{{reliability::ApiLoadFailedText(), reliability::ErrorCaption(), false}}));
      EXPECT_TRUE(run.redirection.empty());
      break;
    case Kind::SwitchOffRefused:
      EXPECT_EQ(run.result, 0);
      EXPECT_EQ(run.messages, (std::vector<ShownMessage>{{reliability::OperationFailedText(fault.error),
                                                          reliability::ErrorCaption(), false}}));
      EXPECT_EQ(run.redirection, std::vector<std::string>{"disable"});
      break;
  }
  if (expected.kind == Kind::EntryPointMissing || expected.kind == Kind::SwitchOffRefused) {
    // Only the filter clean-up took place: no setting, no copy, no program.
    for (const AnsweredCall& call : run.calls) {
      EXPECT_FALSE(IsUserSettings(call) || IsMachineSettings(call) || call.name == "CopyFileA") << call.name;
    }
    EXPECT_TRUE(run.started.empty());
  }
  if (fault.call != "Wow64RevertWow64FsRedirection") {
    EXPECT_FALSE(run.redirectionOffAtEnd);
    // Programs started after the USB step (the GigE installers) see redirection on again.
    for (const reliability::StartedProgram& started : run.started) {
      if (started.program.find("\\GIGE\\") != std::string::npos) {
        EXPECT_FALSE(started.redirectionOff);
      }
    }
  }
}

struct SweepFigures {
  std::size_t runs = 0;
  std::set<std::string> callNames;
};

void Sweep(const RunSetup& setup, SweepFigures& figures) {
  const RunRecord clean = reliability::RunOnce(setup);
  ASSERT_EQ(clean.result, 1);
  ASSERT_EQ(clean.handlesLeftOpen, 0);
  // Without WOW64 detection the run writes where 32-bit Windows keeps things: those are its targets then.
  const RunRecord withoutWow64 = reliability::RunOnce(setup, Fault{"IsWow64Process", 1, kErrorAccessDenied});

  std::map<std::string, std::size_t> seen;
  for (std::size_t at = 0; at < clean.calls.size(); ++at) {
    const std::string& name = clean.calls[at].name;
    const std::size_t nth = ++seen[name];
    if (kCannotFail.count(name)) continue;
    const std::vector<std::uint32_t> errors = ErrorsFor(name);
    ASSERT_FALSE(errors.empty()) << "no error listed for " << name;
    figures.callNames.insert(name);
    for (std::uint32_t error : errors) {
      const Fault fault{name, nth, error};
      SCOPED_TRACE(Describe(setup, fault));
      const RunRecord run = reliability::RunOnce(setup, fault);
      ++figures.runs;
      // The run made the same calls up to the failing one, and that one is where it failed.
      ASSERT_GT(run.calls.size(), at);
      ASSERT_EQ(run.calls[at].name, name);
      const Outcome expected = Expected(setup, clean.calls, at, nth);
      CheckOutcome(setup, fault, expected, run, at);

      for (const std::string& change : run.changes) {
        const bool target = clean.changes.count(change) != 0 || clean.removedDevices.count(change) != 0 ||
                            (expected.kind == Outcome::Kind::SuccessWithoutWow64 && withoutWow64.changes.count(change));
        EXPECT_TRUE(target) << "changed outside the run's targets: " << change;
      }
      const bool closeFailed = name == "RegCloseKey" || name == "FindClose" || name == "SetupDiDestroyDeviceInfoList" ||
                               name == "CloseServiceHandle" || name == "CloseHandle";
      if (!closeFailed) {
        EXPECT_EQ(run.handlesLeftOpen, 0);
      }
      if (name != "FreeLibrary") {
        EXPECT_EQ(run.librariesLeftLoaded, 0);
      }
    }
  }
}

TEST(FaultSweep, EveryCallOfTheRunFailingInTurnEndsWithTheOutcomeItsRulesGive) {
  SweepFigures figures;
  for (bool is64Bit : {true, false}) {
    for (std::uint32_t mask : {0x00u, 0x03u, 0x83u}) {
      RunSetup setup;
      setup.is64BitWindows = is64Bit;
      setup.driverMask = mask;
      Sweep(setup, figures);
    }
  }
  std::cout << "[ sweep    ] " << figures.runs << " runs, each with one failing call; " << figures.callNames.size()
            << " kinds of call\n";
}

}  // namespace
