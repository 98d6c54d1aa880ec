// Which OEM driver packages of the Windows INF directory the stale package removal uninstalls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "InfText.h"
#include "drivers/StaleDriverPackages.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"

namespace {

using drivers_test::Inf;
using platform::sim::SimHost;

struct Package {
  const char* name;
  std::string content;
  bool uninstalled;
};

std::vector<Package> Packages() {
  return {
      {"oem1.inf", Inf("[SourceDisksFiles]\r\nZeZ2Idador.sys = 1\r\n[Strings]\r\nDeviceID=\"VID_1234\"\r\n"), true},
      {"oem2.inf", Inf("[SourceDisksFiles]\r\nother.sys=1\r\n[Strings]\r\nDeviceID = \"vid_f622\"\r\n"), true},
      {"oem3.inf", Inf("[Strings]\r\nDeviceID=\"Vid_F622&Pid_0001\" ; quoted, with a comment\r\n"), true},
      {"OEM4.INF", Inf("[sourcedisksfiles]\r\nzez2idador.SYS=2,,\r\n"), true},
      {"oem5.inf", Inf("[SourceDisksFiles.amd64]\r\nZeZ2Idador.sys=1\r\n[Strings]\r\nDeviceID=\"VID_1234\"\r\n"),
       false},                                                                 // decorated section only
      {"oem6.inf", Inf("[SourceDisksFiles]\r\nZeZ2Idador.sys =\r\n"), false},  // key without a value
      {"oem7.inf", Inf("[Strings]\r\nDeviceID=\"VID_F62\"\r\n"), false},       // shorter than the vendor
      {"oem8.inf", Inf("[SourceDisksFiles]\r\n;ZeZ2Idador.sys=1\r\nnet.sys=1\r\n"), false},
      {"oem9.inf", "[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n", false},  // not an INF of this style
      {"usbcam.inf", Inf("[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n[Strings]\r\nDeviceID=\"VID_F622\"\r\n"),
       false},  // the system's own
  };
}

class StaleDriverPackagesTest : public ::testing::Test {
 protected:
  void Plant(const std::vector<Package>& packages) {
    for (const Package& package : packages) host.setup.AddInf(package.name, package.content);
  }

  std::vector<std::string> UninstallRequests() const {
    std::vector<std::string> names;
    for (const auto& [name, flags] : host.setup.uninstallRequests) {
      EXPECT_EQ(flags, platform::kSuoiForceDelete) << name;
      names.push_back(name);
    }
    return names;
  }

  SimHost host;
};

TEST_F(StaleDriverPackagesTest, UninstallsTheOemInfsThatCarryTheDriverFileOrDeclareTheVendor) {
  Plant(Packages());

  drivers::RemoveStaleDriverPackages();

  std::vector<std::string> expected;
  for (const Package& package : Packages()) {
    EXPECT_EQ(host.setup.HasInf(package.name), !package.uninstalled) << package.name;
    if (package.uninstalled) expected.push_back(package.name);
  }
  std::vector<std::string> requested = UninstallRequests();
  std::sort(expected.begin(), expected.end());
  std::sort(requested.begin(), requested.end());
  EXPECT_EQ(requested, expected);
  EXPECT_EQ(std::count(host.setup.openedInfs.begin(), host.setup.openedInfs.end(), "usbcam.inf"), 0)
      << "an INF whose name does not begin with oem is never even read";
  EXPECT_EQ(host.setup.openInfFiles, 0);
}

TEST_F(StaleDriverPackagesTest, APackageStillInUseLosesOnlyItsInfFile) {
  Plant(Packages());
  host.setup.AddInf("oem1.PNF", "precompiled");
  host.setup.infsInUse = {"OEM1.INF", "oem7.inf"};

  drivers::RemoveStaleDriverPackages();

  EXPECT_FALSE(host.setup.HasInf("oem1.inf"));
  EXPECT_TRUE(host.setup.HasInf("oem1.PNF"));
  EXPECT_TRUE(host.setup.HasInf("oem7.inf")) << "not a camera package, never uninstalled";
  EXPECT_FALSE(host.setup.HasInf("oem2.inf"));
}

TEST_F(StaleDriverPackagesTest, AnUninstallRefusedForAnotherReasonLeavesTheFile) {
  Plant(Packages());
  host.machine.faults.Fail("SetupUninstallOEMInfA", platform::kErrorAccessDenied);

  drivers::RemoveStaleDriverPackages();

  EXPECT_FALSE(UninstallRequests().empty());
  for (const Package& package : Packages()) EXPECT_TRUE(host.setup.HasInf(package.name)) << package.name;
}

TEST_F(StaleDriverPackagesTest, WithoutAWindowsDirectoryAPackageInUseIsLeftWhole) {
  Plant(Packages());
  host.setup.infsInUse = {"oem1.inf"};
  host.machine.faults.Fail("GetWindowsDirectoryA", platform::kErrorAccessDenied);

  drivers::RemoveStaleDriverPackages();

  EXPECT_TRUE(host.setup.HasInf("oem1.inf"));
  EXPECT_FALSE(host.setup.HasInf("oem2.inf"));
}

TEST_F(StaleDriverPackagesTest, AListLongerThanTheFirstBufferIsReadWhole) {
  std::vector<Package> many;
  for (int n = 10; n < 80; ++n) {
    many.push_back({nullptr, Inf("[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n"), true});
    host.setup.AddInf("oem" + std::to_string(n) + ".inf", many.back().content);
  }

  drivers::RemoveStaleDriverPackages();

  ASSERT_EQ(host.setup.infListBufferSizes.size(), 2u);
  EXPECT_EQ(host.setup.infListBufferSizes[0], 512u);
  EXPECT_GT(host.setup.infListBufferSizes[1], 512u);
  EXPECT_EQ(host.setup.uninstallRequests.size(), many.size());
  EXPECT_TRUE(host.setup.InfNames().empty());
}

TEST_F(StaleDriverPackagesTest, AListThatCannotBeObtainedRemovesNothingAndTheAttemptsEnd) {
  for (const std::uint32_t error : {platform::kErrorInsufficientBuffer, platform::kErrorAccessDenied}) {
    SimHost local;
    for (const Package& package : Packages()) local.setup.AddInf(package.name, package.content);
    local.machine.faults.Fail("SetupGetInfFileListA", error);

    drivers::RemoveStaleDriverPackages();

    EXPECT_TRUE(local.setup.uninstallRequests.empty());
    EXPECT_TRUE(local.setup.openedInfs.empty());
    EXPECT_EQ(local.setup.infListBufferSizes.size(), error == platform::kErrorInsufficientBuffer ? 8u : 1u);
  }
}

TEST_F(StaleDriverPackagesTest, AnEmptyInfDirectoryChangesNothing) {
  drivers::RemoveStaleDriverPackages();

  EXPECT_EQ(host.setup.infListBufferSizes.size(), 1u);
  EXPECT_TRUE(host.setup.uninstallRequests.empty());
}

TEST_F(StaleDriverPackagesTest, ReadInfFieldReadsOneFieldOfTheFirstLineWithTheKey) {
  host.setup.AddInf("oem1.inf", Inf("[Files]\r\nkey = \"a, b\", second\r\nkey = later\r\nempty = ,2\r\n"));
  struct Case {
    const char* section;
    const char* key;
    std::uint32_t field;
    bool read;
    const char* value;
  };
  for (const Case& c : {Case{"Files", "key", 1, true, "a, b"}, Case{"files", "KEY", 2, true, "second"},
                        Case{"Files", "key", 0, true, "key"}, Case{"Files", "key", 3, false, "untouched"},
                        Case{"Files", "empty", 1, true, ""}, Case{"Files", "missing", 1, false, "untouched"},
                        Case{"Other", "key", 1, false, "untouched"}}) {
    std::string value = "untouched";
    EXPECT_EQ(drivers::ReadInfField("oem1.inf", c.section, c.key, c.field, value), c.read) << c.key << c.field;
    EXPECT_EQ(value, c.value) << c.section << " " << c.key << " " << c.field;
  }
  std::string value;
  EXPECT_FALSE(drivers::ReadInfField("oem404.inf", "Files", "key", 1, value));
  EXPECT_EQ(host.setup.openInfFiles, 0);
}

}  // namespace
