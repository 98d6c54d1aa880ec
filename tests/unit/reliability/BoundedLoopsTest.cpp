// Every enumeration and retry loop of the run ends even when Windows keeps giving the same answer: a
// subkey enumeration that never moves on, an INF list or a service list that always wants a larger
// buffer, a device enumeration or a directory search that repeats its entry, a file that never ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "PackageRun.h"
#include "platform/WinConstants.h"
#include "system/FilterRegistrations.h"

namespace {

using platform::sim::RegView;
using platform::sim::SimHost;
using reliability::RunRecord;
using reliability::RunSetup;

const std::string kPlatformFilter = std::string(sys::kPlatformFilterPrefix) + "01}";
const std::string kOtherFilter = "{00000000-1111-2222-3333-444444444444}";

std::size_t Count(const RunRecord& run, const std::string& call) {
  return static_cast<std::size_t>(
      std::count_if(run.calls.begin(), run.calls.end(), [&](const auto& answered) { return answered.name == call; }));
}

// Whether the line changed; a file's line is matched whatever its content ("file PATH=...").
bool Changed(const RunRecord& run, const std::string& line) {
  return std::any_of(run.changes.begin(), run.changes.end(),
                     [&](const std::string& change) { return change == line || change.rfind(line + "=", 0) == 0; });
}

std::string FilterLine(std::string_view category, const std::string& key, bool is64BitWindows) {
  return std::string("registry HKCR\\") + (is64BitWindows ? "Wow6432Node\\" : "") + std::string(category) + "\\" + key;
}

struct Case {
  std::string name;
  bool is64BitWindows;
  std::function<void(SimHost&)> adjust;
  std::string call;      // the call that keeps answering the same
  std::size_t maxCalls;  // how often the run may ask it at most
  std::function<void(const RunRecord&, bool is64)> check;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  for (bool is64 : {true, false}) {
    cases.push_back({"subkey enumeration that never moves on past another maker's filter", is64,
                     [](SimHost& host) { host.machine.faults.Endless("RegEnumKeyA"); }, "RegEnumKeyA", 4,
                     [](const RunRecord& run, bool is64Bit) {
                       EXPECT_FALSE(Changed(run, FilterLine(sys::kVideoInputInstanceKey, kOtherFilter, is64Bit)));
                     }});
    cases.push_back({"subkey enumeration that keeps naming an undeletable platform filter", is64,
                     [is64](SimHost& host) {
                       for (std::string_view category : {sys::kVideoInputInstanceKey, sys::kLegacyFilterInstanceKey}) {
                         const std::string instances(category);
                         host.registry.ProtectKey(platform::kHkeyClassesRoot, instances + "\\" + kPlatformFilter,
                                                  RegView::Bits32);
                       }
                       (void)is64;
                       host.machine.faults.Endless("RegEnumKeyA");
                     },
                     "RegEnumKeyA", 4, [](const RunRecord&, bool) {}});
    cases.push_back(
        {"INF list that always wants a larger buffer", is64,
         [](SimHost& host) { host.machine.faults.Endless("SetupGetInfFileListA"); }, "SetupGetInfFileListA", 8,
         [](const RunRecord& run, bool) {
           EXPECT_FALSE(Changed(run, "file C:\\windows\\inf\\oem3.inf"));  // nothing listed, nothing removed
           EXPECT_EQ(Count(run, "SetupUninstallOEMInfA"), 0u);
         }});
    cases.push_back({"service list that always has more data", is64,
                     [](SimHost& host) { host.machine.faults.Endless("EnumServicesStatusA"); }, "EnumServicesStatusA",
                     8,
                     [](const RunRecord& run, bool) {
                       // The records the last answer held are still gone through: the camera's service is removed.
                       EXPECT_TRUE(Changed(run, "service ZeZ2Idador"));
                       EXPECT_FALSE(Changed(run, "service Beep"));
                     }});
    cases.push_back({"service configuration that never fits", is64,
                     [](SimHost& host) { host.machine.faults.Endless("QueryServiceConfigA"); }, "QueryServiceConfigA",
                     4, [](const RunRecord& run, bool) { EXPECT_FALSE(Changed(run, "service ZeZ2Idador")); }});
    cases.push_back({"directory search that repeats its entry", is64,
                     [](SimHost& host) { host.machine.faults.Endless("FindNextFileA"); }, "FindNextFileA", 2,
                     [](const RunRecord& run, bool) {
                       // The search never reached the interface files: nothing is copied into HALCON.
                       for (const std::string& change : run.changes)
                         EXPECT_EQ(change.find("HALCON"), std::string::npos);
                     }});
  }
  // The program itself removes devices and reads the driver INF only on 32-bit Windows.
  cases.push_back({"device enumeration that repeats its first device", false,
                   [](SimHost& host) { host.machine.faults.Endless("SetupDiEnumDeviceInfo"); }, "SetupDiEnumDeviceInfo",
                   2, [](const RunRecord& run, bool) { EXPECT_EQ(Count(run, "SetupDiCallClassInstaller"), 1u); }});
  cases.push_back({"driver INF that never ends", false,
                   [](SimHost& host) {
                     host.files.AddFile(reliability::kDriverInf,
                                        "[Version]\r\nSignature=\"$Windows NT$\"\r\n; USB\\VID_1D6B&PID_0104\r\n" +
                                            std::string(8000, 'x') + "\r\n");
                     host.machine.faults.Endless("fgets");
                   },
                   "fgets", 25000, [](const RunRecord& run, bool) {  // 16 MiB in pieces of this file
                     // The identifier read before the cut still counts: the earlier camera is removed.
                     EXPECT_TRUE(Changed(run, "device USB\\VID_1D6B&PID_0104\\EARLIER"));
                   }});
  return cases;
}

TEST(BoundedLoops, EveryLoopEndsWhenWindowsKeepsGivingTheSameAnswer) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name + (c.is64BitWindows ? " (64-bit Windows)" : " (32-bit Windows)"));
    RunSetup setup;
    setup.is64BitWindows = c.is64BitWindows;
    setup.driverMask = 3;
    const RunRecord run = reliability::RunOnce(setup, std::nullopt, c.adjust);
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, reliability::SuccessText());
    EXPECT_GE(Count(run, c.call), 1u);
    EXPECT_LE(Count(run, c.call), c.maxCalls);
    EXPECT_EQ(run.handlesLeftOpen, 0);
    c.check(run, c.is64BitWindows);
  }
}

TEST(BoundedLoops, AnUndeletablePlatformFilterIsSteppedOverAndTheOnesAfterItAreStillRemoved) {
  for (bool is64 : {true, false}) {
    SCOPED_TRACE(is64 ? "64-bit Windows" : "32-bit Windows");
    const std::string stuck = std::string(sys::kPlatformFilterPrefix) + "00}";
    RunSetup setup;
    setup.is64BitWindows = is64;
    const RunRecord run = reliability::RunOnce(setup, std::nullopt, [&](SimHost& host) {
      const std::string instances(sys::kVideoInputInstanceKey);
      host.registry.SetString(platform::kHkeyClassesRoot, instances + "\\" + stuck, RegView::Bits32, "FriendlyName",
                              "Locked camera");
      host.registry.ProtectKey(platform::kHkeyClassesRoot, instances + "\\" + stuck, RegView::Bits32);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_FALSE(Changed(run, FilterLine(sys::kVideoInputInstanceKey, stuck, is64)));
    EXPECT_TRUE(Changed(run, FilterLine(sys::kVideoInputInstanceKey, kPlatformFilter, is64)));
    EXPECT_FALSE(Changed(run, FilterLine(sys::kVideoInputInstanceKey, kOtherFilter, is64)));
    EXPECT_EQ(Count(run, "RegDeleteKeyA"), 3u);  // the stuck one once, the removable one in each category
  }
}

}  // namespace
