#include "installer_x64/RemovalCommand.h"

#include <string_view>

namespace installer {
namespace {

constexpr std::string_view kSwitch = "-rdev ";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The position after the program's name as Windows splits it: up to the closing quote when it starts with
// one, else up to the first blank.
std::size_t SkipProgramName(std::string_view line) {
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    return close == std::string_view::npos ? line.size() : close + 1;
  }
  std::size_t at = 0;
  while (at < line.size() && !IsBlank(line[at])) ++at;
  return at;
}

}  // namespace

std::optional<std::string> InfPathFromCommandLine(const std::string& commandLine) {
  std::string_view rest(commandLine);
  rest.remove_prefix(SkipProgramName(rest));
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  if (!rest.starts_with(kSwitch)) return std::nullopt;
  rest.remove_prefix(kSwitch.size());
  while (!rest.empty() && (IsBlank(rest.back()) || rest.back() == '\r' || rest.back() == '\n')) rest.remove_suffix(1);
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  if (rest.empty()) return std::nullopt;
  return std::string(rest);
}

}  // namespace installer
