// The clean-up of the platform's DirectShow filter registrations, on the simulated registry.
#include <gtest/gtest.h>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "system/FilterRegistrations.h"

namespace {

using platform::kHkeyClassesRoot;
using platform::sim::RegView;
using platform::sim::SimHost;

const std::string kVideo(sys::kVideoInputInstanceKey);
const std::string kLegacy(sys::kLegacyFilterInstanceKey);
const std::string kOurs = "{F53B54C0-31C6-4147-B369-3415979A8E";

void Plant(SimHost& host, const std::string& category, const std::vector<std::string>& names,
           RegView view = RegView::Bits32) {
  host.registry.CreateKey(kHkeyClassesRoot, category, view);
  for (const std::string& name : names) {
    host.registry.SetString(kHkeyClassesRoot, category + "\\" + name, view, "FriendlyName", name);
  }
}

TEST(FilterRegistrations, OnlyThePlatformsRegistrationsGoInBothCategories) {
  const std::vector<std::string> planted{
      kOurs + "01}",                             // ours
      kOurs + "02}",                             // ours, right after the first
      "{17CCA71B-ECD7-11D0-B908-00A0C9223196}",  // another filter between ours
      kOurs + "FF}",                             // ours
      kOurs + "ab}",                             // lower case after the prefix: ours too
      "{f53b54c0-31c6-4147-b369-3415979a8e42}",  // our family in lower case: not ours
      "{F53B54C0-31C6-4147-B369-3415979A8F01}",  // differs inside the prefix
      "{F53B54C0-31C6-4147-B369-3415979A8",      // shorter than the prefix
      kOurs,                                     // exactly the prefix
  };
  for (bool is64Bit : {true, false}) {
    SimHost host({is64Bit});
    Plant(host, kVideo, planted);
    Plant(host, kLegacy, planted);
    sys::CleanFilterRegistrations();
    const std::vector<std::string> remaining{
        "{17CCA71B-ECD7-11D0-B908-00A0C9223196}", "{f53b54c0-31c6-4147-b369-3415979a8e42}",
        "{F53B54C0-31C6-4147-B369-3415979A8", "{F53B54C0-31C6-4147-B369-3415979A8F01}"};
    for (const std::string& category : {kVideo, kLegacy}) {
      auto names = host.registry.SubkeyNames(kHkeyClassesRoot, category, RegView::Bits32);
      std::sort(names.begin(), names.end());
      auto expected = remaining;
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(names, expected) << category;
    }
    EXPECT_EQ(host.registry.openKeys, 0);
  }
}

TEST(FilterRegistrations, OpensEachInstanceKeyWithFullAccessAndNoViewFlag) {
  SimHost host;
  Plant(host, kVideo, {kOurs + "01}"});
  sys::CleanFilterRegistrations();
  ASSERT_EQ(host.registry.requests.size(), 2u);
  EXPECT_EQ(host.registry.requests[0].subKey, kVideo);
  EXPECT_EQ(host.registry.requests[1].subKey, kLegacy);
  for (const auto& request : host.registry.requests) {
    EXPECT_EQ(request.root, kHkeyClassesRoot);
    EXPECT_EQ(request.samDesired, platform::kKeyAllAccess);
  }
}

TEST(FilterRegistrations, MissingCategoriesAreSkipped) {
  SimHost none;
  sys::CleanFilterRegistrations();
  EXPECT_TRUE(none.registry.Snapshot().empty());

  SimHost legacyOnly;
  Plant(legacyOnly, kLegacy, {kOurs + "01}", "{00000000-0000-0000-0000-000000000000}"});
  sys::CleanFilterRegistrations();
  EXPECT_EQ(legacyOnly.registry.SubkeyNames(kHkeyClassesRoot, kLegacy, RegView::Bits32),
            std::vector<std::string>{"{00000000-0000-0000-0000-000000000000}"});
}

TEST(FilterRegistrations, TheSixtyFourBitViewIsLeftAlone) {
  SimHost host;
  Plant(host, kVideo, {kOurs + "01}"}, RegView::Bits64);
  Plant(host, kVideo, {kOurs + "01}"}, RegView::Bits32);
  sys::CleanFilterRegistrations();
  EXPECT_TRUE(host.registry.KeyExists(kHkeyClassesRoot, kVideo + "\\" + kOurs + "01}", RegView::Bits64));
  EXPECT_FALSE(host.registry.KeyExists(kHkeyClassesRoot, kVideo + "\\" + kOurs + "01}", RegView::Bits32));
}

TEST(FilterRegistrations, AMatchThatCannotBeDeletedIsSteppedOverAndThePassEnds) {
  SimHost host;
  Plant(host, kVideo, {kOurs + "01}", kOurs + "02}", kOurs + "03}"});
  host.registry.ProtectKey(kHkeyClassesRoot, kVideo + "\\" + kOurs + "01}", RegView::Bits32);
  // A registration with subkeys of its own cannot be deleted by RegDeleteKey either.
  host.registry.CreateKey(kHkeyClassesRoot, kVideo + "\\" + kOurs + "02}\\Child", RegView::Bits32);
  sys::CleanFilterRegistrations();
  EXPECT_EQ(host.registry.SubkeyNames(kHkeyClassesRoot, kVideo, RegView::Bits32),
            (std::vector<std::string>{kOurs + "01}", kOurs + "02}"}));

  SimHost refusing;
  Plant(refusing, kVideo, {kOurs + "01}", kOurs + "02}"});
  refusing.machine.faults.Fail("RegDeleteKeyA", platform::kErrorAccessDenied);
  sys::CleanFilterRegistrations();
  EXPECT_EQ(refusing.registry.SubkeyNames(kHkeyClassesRoot, kVideo, RegView::Bits32).size(), 2u);
}

TEST(FilterRegistrations, AnEnumerationErrorEndsThePass) {
  SimHost host;
  Plant(host, kVideo, {kOurs + "01}"});
  host.machine.faults.Fail("RegEnumKeyA", platform::kErrorAccessDenied);
  sys::CleanFilterRegistrations();
  EXPECT_TRUE(host.registry.KeyExists(kHkeyClassesRoot, kVideo + "\\" + kOurs + "01}", RegView::Bits32));
  EXPECT_EQ(host.registry.openKeys, 0);
}

}  // namespace
