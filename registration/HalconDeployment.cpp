#include "registration/HalconDeployment.h"

#include <utility>

#include "platform/Backends.h"
#include "registration/AnsiText.h"
#include "registration/FileDeployment.h"
#include "registration/MatchingFiles.h"

namespace registration {
namespace {

// Searched in this order; the first text found in the HALCON folder decides the suffix.
constexpr std::pair<const char*, const char*> kVersionTable[] = {
    {"HALCON-8", "8"},   {"HALCON-11", "11"}, {"HALCON-12", "12"},
    {"HALCON-13", "13"}, {"HALCON-17", "17"}, {"HALCON-18", "17"},
};

constexpr std::size_t kShortestHalconRoot = 3;

}  // namespace

std::string HalconVersionSuffix(const std::string& halconRoot) {
  for (const auto& [text, suffix] : kVersionTable) {
    if (ContainsText(halconRoot, text)) return suffix;
  }
  return std::string();
}

std::string HalconInterfaceName(const std::string& sdkDir, const std::string& companyName) {
  const std::vector<FileMatch> interfaces = ListMatchingFiles(sdkDir, kHalconInterfacePattern);
  if (interfaces.empty()) return std::string();
  for (const FileMatch& found : interfaces) {
    if (EqualIgnoringCase(found[1], companyName)) return companyName;
  }
  return interfaces.front()[1];
}

void DeployHalconInterface(const std::string& sdkDir, const std::string& companyName) {
  const std::optional<std::string> halconRoot = platform::Files().GetEnvironmentVariableA("HALCONROOT");
  if (!halconRoot || halconRoot->size() < kShortestHalconRoot) return;
  std::string name = HalconInterfaceName(sdkDir, companyName);
  if (name.empty()) return;
  name += HalconVersionSuffix(*halconRoot);

  const std::string source32 = sdkDir + "\\hAcq" + name + ".dll";
  const std::string& root = *halconRoot;
  DeployFile(source32, root + "\\bin\\x86sse2-win32\\hAcq" + name + ".dll");
  DeployFile(source32, root + "\\bin\\x86-win32\\hAcq" + name + ".dll");
  DeployFile(sdkDir + "\\X64\\hAcq" + name + "_X64.dll", root + "\\bin\\x64-win64\\hAcq" + name + "_X64.dll");
}

}  // namespace registration
