// The registration run's USB camera step (CCalvantDlg::InstallUsbDrivers, declared with the dialog) and
// the pieces of it that stand on their own.
#pragma once

#include <string>
#include <vector>

namespace drivers {

// The INF paths the step tries, in order: the folder of the running Windows version ("\USB\WIN10\" on
// Windows 10 and later, "\USB\WIN7\" before), the other version's folder, "\USB\", and the Drivers
// directory itself.
std::vector<std::string> UsbDriverInfCandidates(const std::string& driversDir, bool win10OrLater);

// Has Plug and Play re-enumerate the whole device tree from its root; true when both
// configuration-manager calls succeed (a root that cannot be located skips the re-enumeration).
bool RescanDeviceTree();

}  // namespace drivers
