#include "registration/FileDeployment.h"

#include "platform/Backends.h"
#include "system/ProcessLauncher.h"

namespace registration {

std::int32_t DeployFile(const std::string& source, const std::string& destination) {
  if (platform::Files().CopyFileA(source, destination, false)) return 1;
  return sys::FileExists(source) ? 0 : 1;
}

std::vector<CopyRow> RuntimeAndFilterCopies(const std::string& sdkDir, const std::string& windowsDir,
                                            const std::string& companyName, bool wow64) {
  const std::string system32 = windowsDir + "\\system32\\";
  if (!wow64) {
    return {
        {sdkDir + "\\RAZEDAVE.dll", system32 + "RAZEDAVE.dll", kErrorRuntimeLibrary},
        {sdkDir + "\\" + companyName + ".ax", system32 + companyName + ".ax", kErrorCaptureFilter},
    };
  }
  const std::string syswow64 = windowsDir + "\\syswow64\\";
  return {
      {sdkDir + "\\RAZEDAVE.dll", syswow64 + "RAZEDAVE.dll", kErrorRuntimeLibraryWow64},
      {sdkDir + "\\X64\\RAZEDAVE_X64.dll", system32 + "RAZEDAVE_X64.dll", kErrorRuntimeLibraryWow64},
      {sdkDir + "\\X64\\" + companyName + "64.ax", system32 + companyName + "64.ax", kErrorCaptureFilter64},
      {sdkDir + "\\" + companyName + ".ax", syswow64 + companyName + ".ax", kErrorCaptureFilter32Wow64},
  };
}

int DeployRuntimeAndFilters(const std::string& sdkDir, const std::string& windowsDir, const std::string& companyName,
                            bool wow64) {
  for (const CopyRow& row : RuntimeAndFilterCopies(sdkDir, windowsDir, companyName, wow64)) {
    if (!DeployFile(row.source, row.destination)) return row.errorCode;
  }
  return 0;
}

}  // namespace registration
