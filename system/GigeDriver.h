// The GigE camera driver step: the package's GigE driver installer for the running Windows version and
// bitness is found, every installer found removes the installed driver, then the one that suits the
// Windows version installs it, unless only removal was asked for. The operation is
// CCalvantDlg::InstallGigeDriver (app/CalvantDlg.h).
#pragma once

#include <string>
#include <vector>

namespace sys {

// The installers of the first candidate folder that holds either one; an empty path for one it lacks.
struct GigeInstallers {
  std::string installer51;
  std::string installer60;
};

// The folders under the Drivers directory, each beginning and ending with a backslash, in the order
// they are searched: the running Windows version's own folder first.
std::vector<std::string> GigeCandidateFolders(bool win10OrLater);

// Searches the candidate folders for the installer programs of the running bitness (the "_X64" names
// on 64-bit Windows); both paths empty when no folder holds either.
GigeInstallers FindGigeInstallers(const std::string& driversDir, bool win10OrLater, bool wow64);

}  // namespace sys
