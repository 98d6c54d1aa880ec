#include "app/PackagePaths.h"

#include <vector>

#include "platform/Backends.h"
#include "platform/WinConstants.h"

namespace app {
namespace {

// Longest path Windows can name, in characters with the terminator.
constexpr std::uint32_t kLongestPath = 32768;

// A fully qualified path with its "." and ".." elements resolved by their text, as Windows would resolve them,
// for paths too long for Windows' ANSI path calls. Never climbs above the drive or share root.
std::string ResolveDotElements(const std::string& path) {
  const bool unc = path.compare(0, 2, "\\\\") == 0;
  std::vector<std::string> elements;
  std::string element;
  for (char c : path.substr(unc ? 2 : 0) + "\\") {
    if (c != '\\') {
      element += c;
      continue;
    }
    const std::size_t rootElements = unc ? 2 : 1;  // server and share, or the drive
    if (element == "..") {
      if (elements.size() > rootElements) elements.pop_back();
    } else if (element != "." && !(element.empty() && !elements.empty())) {
      elements.push_back(element);
    }
    element.clear();
  }
  std::string resolved = unc ? "\\\\" : "";
  for (std::size_t at = 0; at < elements.size(); ++at) resolved += (at == 0 ? "" : "\\") + elements[at];
  return elements.size() == 1 && !unc ? resolved + "\\" : resolved;
}

}  // namespace

std::string QueryProgramPath() {
  for (std::uint32_t size = platform::kMaxPath; size <= 2 * kLongestPath; size *= 2) {
    std::vector<char> buffer(size, '\0');
    const std::uint32_t length = platform::System().GetModuleFileNameA(buffer.data(), size);
    if (length == 0) return std::string();
    if (length < size) return std::string(buffer.data(), length);
  }
  return std::string();
}

std::string DirectoryOf(const std::string& path) {
  platform::SystemApi& system = platform::System();
  std::size_t lastBackslash = std::string::npos;
  for (std::size_t at = 0; at < path.size(); ++at) {
    const auto byte = static_cast<std::uint8_t>(path[at]);
    if (byte == '\\') {
      lastBackslash = at;
    } else if (system.IsDBCSLeadByte(byte) && at + 1 < path.size()) {
      ++at;  // the trail byte belongs to this character
    }
  }
  return lastBackslash == std::string::npos ? std::string() : path.substr(0, lastBackslash);
}

std::string QueryFullPath(const std::string& path) {
  std::uint32_t size = platform::kMaxPath;
  for (int attempt = 0; attempt < 3 && size <= 2 * kLongestPath; ++attempt) {
    std::vector<char> buffer(size, '\0');
    const std::uint32_t length = platform::System().GetFullPathNameA(path, size, buffer.data());
    if (length == 0) return std::string();
    if (length < size) return std::string(buffer.data(), length);
    size = length;  // the size needed, terminator included
  }
  return std::string();
}

std::string ResolvePackageFolder(const std::string& source, const std::string& programDir, bool programDirIsCurrent) {
  const bool rooted = !source.empty() && (source[0] == '\\' || source[0] == '/');
  const bool drive = source.size() >= 2 && source[1] == ':';
  const bool relative = !rooted && !drive;
  const std::string inProgramDir = relative && !programDir.empty() ? programDir + "\\" + source : source;
  const std::string full = QueryFullPath(programDirIsCurrent ? source : inProgramDir);
  if (!full.empty()) return full;
  const bool fullyQualified = inProgramDir.size() >= 3 && ((inProgramDir[1] == ':' && inProgramDir[2] == '\\') ||
                                                           inProgramDir.compare(0, 2, "\\\\") == 0);
  return fullyQualified ? ResolveDotElements(inProgramDir) : std::string();
}

}  // namespace app
