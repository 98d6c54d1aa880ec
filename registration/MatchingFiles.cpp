#include "registration/MatchingFiles.h"

#include <regex>
#include <set>

#include "platform/Backends.h"

namespace registration {
namespace {

// A search started with FindFirstFileA, closed when the scope ends.
class ScopedFind {
 public:
  ScopedFind(const std::string& searchPath, std::string& firstName)
      : find_(platform::Files().FindFirstFileA(searchPath, firstName)) {}
  ~ScopedFind() {
    if (IsOpen()) platform::Files().FindClose(find_);
  }
  ScopedFind(const ScopedFind&) = delete;
  ScopedFind& operator=(const ScopedFind&) = delete;

  bool IsOpen() const { return find_ != platform::kInvalidFindHandle; }
  bool Next(std::string& name) { return platform::Files().FindNextFileA(find_, name); }

 private:
  platform::FindHandle find_;
};

}  // namespace

std::vector<FileMatch> ListMatchingFiles(const std::string& directory, const std::string& pattern) {
  const std::regex expression(pattern, std::regex::ECMAScript);
  std::vector<FileMatch> matches;
  std::string name;
  ScopedFind find(directory + "\\*.*", name);
  if (!find.IsOpen()) return matches;
  // A folder holds each name once: a name that comes back means the search is not moving on.
  std::set<std::string> listed;
  do {
    if (!listed.insert(name).second) break;
    std::smatch match;
    if (!std::regex_match(name, match, expression)) continue;
    FileMatch entry;
    for (const auto& group : match) entry.push_back(group.str());
    matches.push_back(std::move(entry));
  } while (find.Next(name));
  return matches;
}

}  // namespace registration
