#include "drivers/CameraDevices.h"

#include <cstring>
#include <limits>
#include <set>

#include "drivers/CaseInsensitiveText.h"
#include "drivers/InfHardwareIds.h"
#include "platform/Backends.h"
#include "platform/ScopedSetupHandles.h"
#include "platform/WinConstants.h"

namespace drivers {
namespace {

constexpr std::string_view kMakerVendorPrefix = "USB\\VID_F622";
constexpr std::size_t kVendorAndProductLength = 21;

}  // namespace

bool BelongsToCameras(const std::string& upperInstanceId, const std::set<std::string>& infHardwareIds) {
  if (upperInstanceId.starts_with(kMakerVendorPrefix)) return true;
  return upperInstanceId.size() >= kVendorAndProductLength &&
         infHardwareIds.count(upperInstanceId.substr(0, kVendorAndProductLength)) != 0;
}

bool RemoveDeviceNode(platform::DeviceInfoSet set, platform::SpDevInfoData& device) {
  platform::SetupApi& setup = platform::Setup();
  platform::SpRemoveDeviceParams removal;
  removal.classInstallHeader.cbSize = sizeof(platform::SpClassInstallHeader);
  removal.classInstallHeader.installFunction = platform::kDifRemove;
  removal.scope = platform::kDiRemoveDeviceGlobal;
  removal.hwProfile = 0;
  if (!setup.SetupDiSetClassInstallParamsA(set, &device, &removal, sizeof(removal))) return false;
  return setup.SetupDiCallClassInstaller(platform::kDifRemove, set, &device);
}

void RemoveCameraDevices(const std::string& infPath) { RemoveCameraDevices(infPath, CameraDeviceObserver()); }

void RemoveCameraDevices(const std::string& infPath, const CameraDeviceObserver& observer) {
  const std::set<std::string> infHardwareIds = CollectInfHardwareIds(infPath);
  platform::SetupApi& setup = platform::Setup();
  platform::ScopedDeviceInfoSet devices(
      setup.SetupDiGetClassDevsA(nullptr, nullptr, platform::kNoWindow, platform::kDigcfAllClasses));
  if (!devices.IsOpen()) return;
  platform::SpDevInfoData device;
  device.cbSize = platform::kSpDevInfoDataSize;
  // The walk ends at the first index Windows has no device for. A set holds each device once, so a device
  // that comes back means the enumeration is not moving on, and the walk ends there too.
  std::set<platform::DevInst> visited;
  for (std::uint32_t index = 0; index < std::numeric_limits<std::uint32_t>::max(); ++index) {
    if (!setup.SetupDiEnumDeviceInfo(devices.Get(), index, device)) break;
    if (!visited.insert(device.devInst).second) break;
    char instanceId[platform::kMaxPath] = {};
    if (setup.CM_Get_Device_IDA(device.devInst, instanceId, sizeof(instanceId), 0) != platform::kCrSuccess) continue;
    const std::string upperId = ToUpperAscii(std::string(instanceId, strnlen(instanceId, sizeof(instanceId))));
    if (!BelongsToCameras(upperId, infHardwareIds)) continue;
    const bool removed = RemoveDeviceNode(devices.Get(), device);
    if (observer) observer(upperId, removed);
  }
}

}  // namespace drivers
