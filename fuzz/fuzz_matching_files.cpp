// ListMatchingFiles with the HALCON interface pattern over a generated folder: the names (one a line of
// the input) become files and, where a name ends in '/', folders. The list holds exactly the entries of
// the folder, in the finder's order, whose whole name is "hAcq" + non-digits + ".dll", each with its
// interface name as group 1.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "registration/MatchingFiles.h"

namespace {

constexpr const char* kSdkDir = "C:\\Package\\SDK";
constexpr const char* kInterfacePattern = R"(hAcq(\D+)\.dll)";
constexpr std::size_t kLongestName = 255;

// A name Windows could hold in one folder: not empty, not "." or "..", no separator, NUL or wildcard.
bool IsEntryName(const std::string& name) {
  if (name.empty() || name.size() > kLongestName || name == "." || name == "..") return false;
  return name.find_first_of(std::string("\\/:*?\0", 6)) == std::string::npos;
}

// The interface pattern written out by hand.
bool IsInterfaceFile(const std::string& name, std::string& interfaceName) {
  const std::string prefix = "hAcq", suffix = ".dll";
  if (name.size() <= prefix.size() + suffix.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  interfaceName = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return interfaceName.find_first_of("0123456789") == std::string::npos;
}

// The folder's entries in the finder's order, read through the seam as ListMatchingFiles reads them.
std::vector<std::string> Listing(platform::FileApi& files) {
  std::vector<std::string> names;
  std::string name;
  const platform::FindHandle find = files.FindFirstFileA(std::string(kSdkDir) + "\\*.*", name);
  if (find == platform::kInvalidFindHandle) return names;
  do names.push_back(name);
  while (files.FindNextFileA(find, name));
  files.FindClose(find);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  platform::sim::SimHost host;
  host.files.AddDirectory(kSdkDir);
  while (!input.Done()) {
    std::string line = input.Until('\n');
    const bool folder = !line.empty() && line.back() == '/';
    if (folder) line.pop_back();
    if (!IsEntryName(line)) continue;
    if (folder) {
      host.files.AddDirectory(std::string(kSdkDir) + "\\" + line);
    } else {
      host.files.AddFile(std::string(kSdkDir) + "\\" + line);
    }
  }

  std::vector<registration::FileMatch> expected;
  for (const std::string& name : Listing(host.files)) {
    std::string interfaceName;
    if (IsInterfaceFile(name, interfaceName)) expected.push_back({name, interfaceName});
  }
  const std::vector<registration::FileMatch> matches = registration::ListMatchingFiles(kSdkDir, kInterfacePattern);
  fuzz::Require(matches == expected, "the list holds exactly the interface files, in the finder's order");
  fuzz::Require(host.files.openFinds == 0, "the search is closed again");
  return 0;
}
