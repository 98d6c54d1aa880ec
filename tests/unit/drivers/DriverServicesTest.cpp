// Which services the driver service removal stops and deletes, and how it asks the Service Control Manager.
#include <gtest/gtest.h>

#include "drivers/DriverServices.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"

namespace {

using platform::sim::SimHost;
using platform::sim::SimService;

struct Case {
  SimService service;
  bool stopAsked;
  bool deleteAsked;
  bool remains;
};

std::vector<Case> Cases() {
  SimService running{"ZeZ2Idador", "Camera", platform::kServiceKernelDriver,
                     "\\SystemRoot\\System32\\drivers\\ZeZ2Idador.sys", true};
  SimService stopped{"OldCam", std::nullopt, platform::kServiceKernelDriver,
                     "C:\\Windows\\system32\\drivers\\zez2idador.SYS"};
  SimService longer{"CamFs", "Camera filter", platform::kServiceFileSystemDriver,
                    "system32\\DRIVERS\\ZeZ2IdadorUsb64.sys", true};
  SimService win32Own{"CamHelper", "Helper", platform::kServiceWin32OwnProcess,
                      "C:\\Program Files\\ZeZ2Idador\\helper.exe", true};
  SimService win32Shared{"CamShared", "Shared", platform::kServiceWin32ShareProcess,
                         "C:\\Windows\\system32\\svchost.exe -k ZeZ2Idador"};
  SimService unrelated{"Beep", "Beep", platform::kServiceKernelDriver, "\\SystemRoot\\System32\\drivers\\beep.sys"};
  SimService unreadable{"Sealed", "Sealed", platform::kServiceKernelDriver, "drivers\\ZeZ2Idador.sys"};
  unreadable.configRefusal = platform::kErrorAccessDenied;
  SimService unopenable{"Locked", "Locked", platform::kServiceKernelDriver, "drivers\\ZeZ2Idador.sys"};
  unopenable.openRefusal = platform::kErrorAccessDenied;
  SimService stubborn{"Stubborn", "Stubborn", platform::kServiceKernelDriver, "drivers\\ZeZ2Idador.sys", true};
  stubborn.stopRefusal = 1061;  // ERROR_SERVICE_CANNOT_ACCEPT_CTRL
  return {
      {running, true, true, false},      {stopped, true, true, false},
      {longer, true, true, false},       {win32Own, false, false, true},
      {win32Shared, false, false, true}, {unrelated, false, false, true},
      {unreadable, false, false, true},  {unopenable, false, false, true},
      {stubborn, true, true, true},  // marked for deletion, gone once it stops
  };
}

TEST(DriverServicesTest, StopsAndDeletesTheDriverServicesThatRunTheCameraDriver) {
  SimHost host;
  for (const Case& c : Cases()) host.services.Add(c.service);

  drivers::RemoveCameraDriverServices();

  for (const Case& c : Cases()) {
    const std::string& name = c.service.name;
    const bool stopAsked = std::count(host.services.controls.begin(), host.services.controls.end(),
                                      std::make_pair(name, platform::kServiceControlStop)) == 1;
    const bool deleteAsked =
        std::count(host.services.deleteRequests.begin(), host.services.deleteRequests.end(), name) == 1;
    EXPECT_EQ(stopAsked, c.stopAsked) << name;
    EXPECT_EQ(deleteAsked, c.deleteAsked) << name;
    EXPECT_EQ(host.services.Exists(name), c.remains) << name;
  }
  EXPECT_EQ(host.services.controls.size(), 4u);
  EXPECT_TRUE(host.services.Find("Stubborn")->markedForDelete);
  EXPECT_EQ(host.services.openHandles, 0);
}

TEST(DriverServicesTest, AsksForEveryDriverInEveryStateWithFullAccess) {
  SimHost host;
  for (const Case& c : Cases()) host.services.Add(c.service);

  drivers::RemoveCameraDriverServices();

  EXPECT_EQ(host.services.managerAccess, std::vector<std::uint32_t>{platform::kScManagerAllAccess});
  ASSERT_EQ(host.services.enumerations.size(), 2u) << "a size query, then the listing in a buffer of that size";
  for (const auto& [type, state] : host.services.enumerations) {
    EXPECT_EQ(type, platform::kServiceDriver);
    EXPECT_EQ(state, platform::kServiceStateAll);
  }
  for (const auto& [name, access] : host.services.opened) {
    EXPECT_EQ(access, platform::kServiceAllAccess) << name;
    EXPECT_NE(name, "CamHelper");
    EXPECT_NE(name, "CamShared");
  }
  EXPECT_EQ(host.services.opened.size(), 7u);
}

TEST(DriverServicesTest, WithoutTheServiceControlManagerNothingHappens) {
  SimHost host;
  for (const Case& c : Cases()) host.services.Add(c.service);
  host.machine.faults.Fail("OpenSCManagerA", platform::kErrorAccessDenied);

  drivers::RemoveCameraDriverServices();

  EXPECT_TRUE(host.services.enumerations.empty());
  EXPECT_TRUE(host.services.Exists("ZeZ2Idador"));
}

TEST(DriverServicesTest, AnEnumerationThatKeepsAskingForMoreEndsAndUsesWhatTheLastCallReturned) {
  SimHost host;
  for (const Case& c : Cases()) host.services.Add(c.service);
  host.machine.faults.Fail("EnumServicesStatusA", platform::kErrorMoreData);

  drivers::RemoveCameraDriverServices();

  EXPECT_EQ(host.services.enumerations.size(), 8u);
  EXPECT_FALSE(host.services.Exists("ZeZ2Idador"));
  EXPECT_EQ(host.services.openHandles, 0);
}

TEST(DriverServicesTest, AnEnumerationFailingForAnotherReasonTouchesNoService) {
  SimHost host;
  for (const Case& c : Cases()) host.services.Add(c.service);
  host.machine.faults.Fail("EnumServicesStatusA", platform::kErrorAccessDenied);

  drivers::RemoveCameraDriverServices();

  EXPECT_EQ(host.services.enumerations.size(), 1u);
  EXPECT_TRUE(host.services.opened.empty());
  EXPECT_EQ(host.services.openHandles, 0);
}

TEST(DriverServicesTest, WithNoMatchingDriverNothingChanges) {
  SimHost host;
  host.services.Add(SimService{"Beep", "Beep", platform::kServiceKernelDriver, "drivers\\beep.sys", true});

  drivers::RemoveCameraDriverServices();

  EXPECT_TRUE(host.services.controls.empty());
  EXPECT_TRUE(host.services.deleteRequests.empty());
  EXPECT_TRUE(host.services.Find("Beep")->running);
}

}  // namespace
