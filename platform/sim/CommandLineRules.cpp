#include "platform/sim/CommandLineRules.h"

namespace platform::sim {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name: up to the first blank, or between quotes when it starts with one.
std::size_t ReadProgramName(const std::wstring& line, std::wstring& name) {
  std::size_t at = 0;
  if (at < line.size() && line[at] == L'"') {
    ++at;
    while (at < line.size() && line[at] != L'"') name += line[at++];
    if (at < line.size()) ++at;
  } else {
    while (at < line.size() && !IsBlank(line[at])) name += line[at++];
  }
  return at;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
  std::vector<std::wstring> arguments;
  std::wstring program;
  std::size_t at = ReadProgramName(line, program);
  arguments.push_back(program);

  while (true) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::wstring argument;
    bool quoted = false;
    while (at < line.size() && (quoted || !IsBlank(line[at]))) {
      if (line[at] == L'\\') {
        std::size_t backslashes = 0;
        while (at < line.size() && line[at] == L'\\') ++backslashes, ++at;
        if (at < line.size() && line[at] == L'"') {
          argument.append(backslashes / 2, L'\\');
          if (backslashes % 2 == 1) {
            argument += L'"';
            ++at;
          }
        } else {
          argument.append(backslashes, L'\\');
        }
      } else if (line[at] == L'"') {
        if (quoted && at + 1 < line.size() && line[at + 1] == L'"') {
          argument += L'"';
          at += 2;
        } else {
          quoted = !quoted;
          ++at;
        }
      } else {
        argument += line[at++];
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

}  // namespace platform::sim
