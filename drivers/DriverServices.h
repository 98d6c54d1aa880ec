// Removal of the kernel driver services that earlier installations of the USB camera driver created,
// recognised by the driver's base name in the service's image path.
#pragma once

namespace drivers {

// Stops and deletes every driver service (kernel, file-system, recognizer; any state) whose image path
// holds the driver's base name, letter case ignored; the delete is asked for whatever the stop answered.
// Win32 services are never looked at. A service that cannot be opened or whose configuration cannot be
// read is skipped; nothing is reported.
void RemoveCameraDriverServices();

}  // namespace drivers
