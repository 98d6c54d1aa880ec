// The package's model INF, "models.inf" in the Drivers directory, installed through the system's own INF
// installer: RUNDLL32.EXE from the system directory running SETUPAPI.DLL's InstallHinfSection on the
// INF's DefaultInstall section. The operation is CCalvantDlg::InstallModelsInf (app/CalvantDlg.h).
#pragma once

#include <string>

namespace sys {

// The parameters handed to RUNDLL32.EXE: section DefaultInstall, mode 128 (the INF's own folder is the
// source path, never restart), the INF path inserted as it is, without quotes.
std::string ModelsInfParameters(const std::string& infPath);

}  // namespace sys
