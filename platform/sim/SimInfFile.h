// The simulated Setup API's INF reader: sections, keyed and unkeyed lines, comma-separated fields,
// comments and quoted strings, as the Setup API parses them. String substitution (%key%) and line
// continuation are not read.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform::sim {

struct SimInfLine {
  std::optional<std::string> key;   // the text before '=', when the line has one
  std::vector<std::string> fields;  // fields 1, 2, ...; none when nothing follows '='
};

struct SimInfSection {
  std::string name;
  std::vector<SimInfLine> lines;
};

class SimInfFile {
 public:
  // Reads INF text: ';' starts a comment outside quotes; "..." quotes a field, "" inside it is one quote;
  // a section that appears twice is one section with the lines of both.
  static SimInfFile Parse(const std::string& text);

  // The section of this name, letter case ignored.
  const SimInfSection* Section(const std::string& name) const;
  // Whether [Version] Signature names a Windows NT or Windows 95 style INF (INF_STYLE_WIN4).
  bool IsWin4Style() const;

  std::vector<SimInfSection> sections;
};

}  // namespace platform::sim
