// Removal of the cameras' device nodes, present or left from earlier connections, so that the rescan that
// follows the driver staging finds the attached cameras as new devices.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "platform/SetupApi.h"

namespace drivers {

// Whether an upper-cased device instance identifier belongs to the cameras: it begins with the maker's
// vendor prefix "USB\VID_F622", or its first 21 characters (vendor and product) are one of the INF's
// hardware identifiers. An identifier shorter than 21 characters matches only by the vendor prefix.
bool BelongsToCameras(const std::string& upperInstanceId, const std::set<std::string>& infHardwareIds);

// Removes the device node through its class installer (DIF_REMOVE, global scope, no hardware profile).
// True when both the removal parameters were accepted and the class installer removed the node; a refused
// parameter call skips the class installer. A restart is never requested.
bool RemoveDeviceNode(platform::DeviceInfoSet set, platform::SpDevInfoData& device);

// Removes every device node of every setup class, present or not, that belongs to the cameras by the
// hardware identifiers of the INF at this path. Failures pass silently: a device set that cannot be
// opened removes nothing, a device whose identifier cannot be read is skipped, a refused removal is left.
void RemoveCameraDevices(const std::string& infPath);

// The same removal, telling the observer about each camera device found: its upper-cased instance
// identifier and whether it was removed (the thread's last error says why not).
using CameraDeviceObserver = std::function<void(const std::string& instanceId, bool removed)>;
void RemoveCameraDevices(const std::string& infPath, const CameraDeviceObserver& observer);

}  // namespace drivers
