// Self-registration of a component library and the WOW64 question, on the simulated loader.
#include <gtest/gtest.h>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "system/SelfRegistration.h"
#include "system/Wow64Detection.h"

namespace {

using platform::sim::SimHost;
using platform::sim::SimLibrary;

const std::string kControl = "C:\\Package Root\\SDK\\Ferrocam.ocx";

TEST(SelfRegistration, LoadsCallsAndReleasesTheLibrary) {
  struct Case {
    bool present;
    bool exportsEntry;
    std::int32_t result;
    std::vector<std::string> events;
  };
  const std::vector<Case> cases{
      {true, true, 0, {"load " + kControl, "register " + kControl, "free " + kControl}},
      {true,
       true,
       static_cast<std::int32_t>(0x80004005),
       {"load " + kControl, "register " + kControl, "free " + kControl}},
      {true, false, 0, {"load " + kControl, "free " + kControl}},
      {false, true, 0, {}},
  };
  for (const Case& c : cases) {
    SimHost host;
    bool registered = false;
    if (c.present) {
      host.modules.libraries[kControl] = SimLibrary{c.exportsEntry, c.result, [&] { registered = true; }};
    }
    sys::RunSelfRegistration(kControl);
    EXPECT_EQ(host.modules.events, c.events);
    EXPECT_EQ(registered, c.present && c.exportsEntry);
    EXPECT_EQ(host.modules.loadedLibraries, 0) << "every library loaded is released";
  }
}

TEST(Wow64Detection, AnswersWhatWindowsReportsForTheProcess) {
  struct Case {
    bool is64BitWindows;
    bool hasExport;
    bool callFails;
    std::int32_t expected;
  };
  for (const Case& c : {Case{true, true, false, 1}, Case{false, true, false, 0}, Case{true, false, false, 0},
                        Case{true, true, true, 0}}) {
    SimHost host({c.is64BitWindows});
    if (!c.hasExport) host.modules.missingKernelExports.insert("IsWow64Process");
    if (c.callFails) host.machine.faults.Fail("IsWow64Process", platform::kErrorAccessDenied);
    EXPECT_EQ(sys::RunningUnderWow64(), c.expected);
  }
}

}  // namespace
