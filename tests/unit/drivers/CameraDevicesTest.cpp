// Which device nodes the device removal takes away, and how it asks Windows to.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "InfText.h"
#include "drivers/CameraDevices.h"
#include "drivers/InfHardwareIds.h"
#include "platform/sim/SimHost.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimDevice;
using platform::sim::SimHost;

constexpr const char* kInfPath = "C:\\Package Root\\Drivers\\USB\\WIN10\\ZeZ2Idador.Inf";

// A line longer than one 1023-byte piece: one identifier well inside the first piece, one cut by its end.
std::string LongLine() {
  std::string line = ";USB\\VID_7777&PID_8888 ";
  line += std::string(1015 - line.size(), 'x');
  return line + "USB\\VID_5555&PID_6666\r\n";
}

std::string DriverInf() {
  return drivers_test::Inf(
      "; USB\\VID_1234&PID_0001 is named only in this comment\r\n"
      "[Models.NTamd64]\r\n"
      "%Camera%=CameraInstall, usb\\vid_abcd&pid_00ff\r\n"
      "%Camera%=CameraInstall, USB\\VID_ABCD&PID_00FF\r\n" +
      LongLine() + "[Strings]\r\nCamera=\"Camera\"\r\n");
}

class CameraDevicesTest : public ::testing::Test {
 protected:
  CameraDevicesTest() : host(MachineKind{.is64BitWindows = false}) { host.files.AddFile(kInfPath, DriverInf()); }

  SimHost host;
};

TEST_F(CameraDevicesTest, TheInfYieldsEachUpperCasedIdentifierOnceFromEveryLineButNotOneCutByThePieceLimit) {
  EXPECT_EQ(drivers::CollectInfHardwareIds(kInfPath),
            (std::set<std::string>{"USB\\VID_1234&PID_0001", "USB\\VID_7777&PID_8888", "USB\\VID_ABCD&PID_00FF"}));
  EXPECT_EQ(host.files.openTextFiles, 0);
}

TEST_F(CameraDevicesTest, AnInfThatCannotBeReadYieldsNoIdentifiers) {
  EXPECT_TRUE(drivers::CollectInfHardwareIds("C:\\nowhere\\ZeZ2Idador.Inf").empty());
}

TEST_F(CameraDevicesTest, RemovesTheCamerasByVendorPrefixOrByTheInfsIdentifiers) {
  struct Case {
    const char* instanceId;
    bool present;
    bool removed;
  };
  const Case cases[] = {
      {"USB\\VID_F622&PID_0100\\SN0001", true, true},          // the maker's vendor, not in the INF
      {"USB\\VID_F622&PID_0200\\OLD", false, true},            // not attached now
      {"usb\\vid_f622&pid_0300\\lower", true, true},           // identifier in lower case
      {"USB\\VID_1234&PID_0001\\5&1A2B3C", true, true},        // named only in a comment line
      {"USB\\VID_ABCD&PID_00FF\\7&1", true, true},             // written in lower case in the INF
      {"USB\\VID_ABCD&PID_00FF&MI_00\\8&2&0000", true, true},  // interface child of a composite camera
      {"USB\\VID_7777&PID_8888\\9", false, true},              // early on a very long line
      {"USB\\VID_5555&PID_6666\\9", true, false},              // cut by the 1023-byte piece limit
      {"USB\\VID_ABCD&PID_00F", true, false},                  // shorter than 21 characters
      {"USB\\VID_9999&PID_0001\\1", true, false},              // another vendor, not in the INF
      {"PCI\\VEN_8086&DEV_1234&SUBSYS_00000000\\3", true, false},
      {"USB\\VID_F62", true, false},
  };
  for (const Case& c : cases) host.setup.AddDevice(SimDevice{c.instanceId, c.present});

  drivers::RemoveCameraDevices(kInfPath);

  for (const Case& c : cases) EXPECT_EQ(host.setup.HasDevice(c.instanceId), !c.removed) << c.instanceId;
  EXPECT_EQ(host.setup.deviceSetFlags, std::vector<std::uint32_t>{platform::kDigcfAllClasses});
  EXPECT_EQ(host.setup.openDeviceSets, 0);
  EXPECT_EQ(host.files.openTextFiles, 0);
}

TEST_F(CameraDevicesTest, AsksTheClassInstallerForAGlobalRemovalOfEachCameraAndNeverForOthers) {
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0100\\A"});
  host.setup.AddDevice(SimDevice{"HID\\VID_046D&PID_C52B\\B"});

  drivers::RemoveCameraDevices(kInfPath);

  ASSERT_EQ(host.setup.classInstallerCalls.size(), 1u);
  const auto& call = host.setup.classInstallerCalls[0];
  EXPECT_EQ(call.installFunction, platform::kDifRemove);
  EXPECT_EQ(call.instanceId, "USB\\VID_F622&PID_0100\\A");
  ASSERT_TRUE(call.params.has_value());
  EXPECT_EQ(call.params->classInstallHeader.cbSize, 8u);
  EXPECT_EQ(call.params->classInstallHeader.installFunction, platform::kDifRemove);
  EXPECT_EQ(call.params->scope, platform::kDiRemoveDeviceGlobal);
  EXPECT_EQ(call.params->hwProfile, 0u);
}

TEST_F(CameraDevicesTest, ARefusedRemovalOrAnUnreadableIdentifierLeavesThatDeviceAndTheWalkGoesOn) {
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\REFUSED", true, 0xE0000219});
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0002\\UNREADABLE", true, 0, platform::kCrBufferSmall});
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0003\\LAST"});

  std::vector<std::pair<std::string, bool>> seen;
  drivers::RemoveCameraDevices(kInfPath, [&](const std::string& id, bool removed) { seen.emplace_back(id, removed); });

  EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{{"USB\\VID_F622&PID_0001\\REFUSED", false},
                                                             {"USB\\VID_F622&PID_0003\\LAST", true}}));
  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_F622&PID_0001\\REFUSED"));
  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_F622&PID_0002\\UNREADABLE"));
  EXPECT_FALSE(host.setup.HasDevice("USB\\VID_F622&PID_0003\\LAST"));
}

TEST_F(CameraDevicesTest, ARefusedParameterCallSkipsTheClassInstaller) {
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\A"});
  host.machine.faults.Fail("SetupDiSetClassInstallParamsA", 87);

  drivers::RemoveCameraDevices(kInfPath);

  EXPECT_TRUE(host.setup.classInstallerCalls.empty());
  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_F622&PID_0001\\A"));
}

TEST_F(CameraDevicesTest, ADeviceSetThatCannotBeOpenedRemovesNothing) {
  host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\A"});
  host.machine.faults.Fail("SetupDiGetClassDevsA", 5);

  drivers::RemoveCameraDevices(kInfPath);

  EXPECT_TRUE(host.setup.HasDevice("USB\\VID_F622&PID_0001\\A"));
  EXPECT_EQ(host.setup.openDeviceSets, 0);
}

TEST(CameraDevicesOn64BitWindows, TheClassInstallerRefusesTheRemovalToA32BitProcessAndAcceptsItFromA64BitOne) {
  for (const bool process64 : {false, true}) {
    SimHost host(MachineKind{.is64BitWindows = true});
    host.setup.processIs64Bit = process64;
    host.files.AddFile(kInfPath, DriverInf());
    host.setup.AddDevice(SimDevice{"USB\\VID_F622&PID_0001\\A"});

    std::uint32_t error = 0;
    drivers::RemoveCameraDevices(kInfPath, [&](const std::string&, bool removed) {
      if (!removed) error = host.system.GetLastError();
    });

    EXPECT_EQ(host.setup.HasDevice("USB\\VID_F622&PID_0001\\A"), !process64);
    EXPECT_EQ(error, process64 ? 0u : platform::kErrorInWow64);
  }
}

TEST(DeviceInfoRecord, HasTheSizeWindowsChecksForEachProcessWidth) {
  EXPECT_EQ(platform::SpDevInfoDataSize(4), 28u);
  EXPECT_EQ(platform::SpDevInfoDataSize(8), 32u);
}

}  // namespace
