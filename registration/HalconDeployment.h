// The platform's HALCON acquisition interface, copied from the package's SDK directory into the
// architecture folders under the HALCON installation that the HALCONROOT variable names. Silent: a
// missing installation, interface file or folder and every failed copy pass without a trace.
#pragma once

#include <string>

namespace registration {

// The interface files in the SDK directory: "hAcq" + a name without digits + ".dll".
inline constexpr const char* kHalconInterfacePattern = "hAcq(\\D+)\\.dll";

// The version suffix of the interface file for a HALCON installation folder: the first of the version
// texts found in it decides; HALCON 18 uses the interface built for 17. Empty when none is found.
std::string HalconVersionSuffix(const std::string& halconRoot);

// The interface name in the SDK directory: the company's own interface when there is one (found ignoring
// letter case, kept in the company name's case), otherwise the first one listed; empty when none.
std::string HalconInterfaceName(const std::string& sdkDir, const std::string& companyName);

// The whole step: reads HALCONROOT (at least 3 characters, used unchanged), picks the interface name and
// its version suffix, and attempts all three copies whatever their results.
void DeployHalconInterface(const std::string& sdkDir, const std::string& companyName);

}  // namespace registration
