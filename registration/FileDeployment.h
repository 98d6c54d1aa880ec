// The runtime library and the capture filters, copied from the package's SDK directory into the Windows
// system directories: system32 on 32-bit Windows; syswow64 for the 32-bit and system32 for the 64-bit
// components on 64-bit Windows, where the run has switched file-system redirection off beforehand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace registration {

// Error codes of the copy step, one per row of the copy tables.
inline constexpr int kErrorRuntimeLibrary = 3;
inline constexpr int kErrorCaptureFilter = 5;
inline constexpr int kErrorRuntimeLibraryWow64 = 6;
inline constexpr int kErrorCaptureFilter64 = 8;
inline constexpr int kErrorCaptureFilter32Wow64 = 9;

// Copies over an existing destination. Nonzero when the copy succeeded or when the source does not
// exist (a component the package does not hold counts as deployed); 0 when an existing source could
// not be copied.
std::int32_t DeployFile(const std::string& source, const std::string& destination);

struct CopyRow {
  std::string source;
  std::string destination;
  int errorCode;
};

// The copies for the running Windows, in the order they are made. The filter files are named after the
// company: CompanyName + ".ax" (32-bit) and CompanyName + "64.ax" (64-bit).
std::vector<CopyRow> RuntimeAndFilterCopies(const std::string& sdkDir, const std::string& windowsDir,
                                            const std::string& companyName, bool wow64);

// Makes the copies row by row and stops at the first that fails: 0 when all rows are deployed,
// otherwise that row's error code. Files copied before the failing row stay.
int DeployRuntimeAndFilters(const std::string& sdkDir, const std::string& windowsDir, const std::string& companyName,
                            bool wow64);

}  // namespace registration
