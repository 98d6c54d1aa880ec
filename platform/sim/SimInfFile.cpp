#include "platform/sim/SimInfFile.h"

#include <algorithm>
#include <cctype>

namespace platform::sim {
namespace {

bool SameText(const std::string& left, const std::string& right) {
  return left.size() == right.size() && std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
         });
}

std::string Trim(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  auto begin = std::find_if_not(text.begin(), text.end(), blank);
  auto end = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(begin), blank).base();
  return std::string(begin, end);
}

// One physical line split at the separators outside quotes, each part still raw (quotes kept). The
// comment (';' outside quotes) is cut off first.
struct RawLine {
  std::string beforeEquals;
  bool hasEquals = false;
  std::vector<std::string> parts;
};

RawLine Split(const std::string& line) {
  RawLine raw;
  std::string current;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (!quoted && c == ';') break;
    if (!quoted && c == '=' && !raw.hasEquals) {
      raw.hasEquals = true;
      raw.beforeEquals = current;
      current.clear();
      continue;
    }
    if (!quoted && c == ',') {
      raw.parts.push_back(current);
      current.clear();
      continue;
    }
    current += c;
  }
  raw.parts.push_back(current);
  return raw;
}

// A field's value: surrounding blanks removed, quotes removed, a doubled quote inside quotes kept as one.
std::string FieldValue(const std::string& raw) {
  const std::string text = Trim(raw);
  std::string value;
  bool quoted = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '"') {
      value += text[at];
    } else if (quoted && at + 1 < text.size() && text[at + 1] == '"') {
      value += '"';
      ++at;
    } else {
      quoted = !quoted;
    }
  }
  return value;
}

}  // namespace

SimInfFile SimInfFile::Parse(const std::string& text) {
  SimInfFile inf;
  SimInfSection* section = nullptr;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;

    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (trimmed[0] == '[') {
      const std::size_t close = trimmed.find(']');
      const std::string name = trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      auto existing = std::find_if(inf.sections.begin(), inf.sections.end(),
                                   [&](const SimInfSection& s) { return SameText(s.name, name); });
      if (existing == inf.sections.end()) {
        inf.sections.push_back(SimInfSection{name, {}});
        section = &inf.sections.back();
      } else {
        section = &*existing;
      }
      continue;
    }
    if (section == nullptr) continue;  // lines before the first section belong to none

    const RawLine raw = Split(line);
    SimInfLine parsed;
    if (raw.hasEquals) parsed.key = FieldValue(raw.beforeEquals);
    const bool nothingAfterEquals = raw.hasEquals && raw.parts.size() == 1 && Trim(raw.parts[0]).empty();
    if (!nothingAfterEquals) {
      for (const std::string& part : raw.parts) parsed.fields.push_back(FieldValue(part));
    }
    if (!parsed.key && parsed.fields.size() == 1 && parsed.fields[0].empty()) continue;  // a comment line
    section->lines.push_back(std::move(parsed));
  }
  return inf;
}

const SimInfSection* SimInfFile::Section(const std::string& name) const {
  for (const SimInfSection& section : sections) {
    if (SameText(section.name, name)) return &section;
  }
  return nullptr;
}

bool SimInfFile::IsWin4Style() const {
  const SimInfSection* version = Section("Version");
  if (version == nullptr) return false;
  for (const SimInfLine& line : version->lines) {
    if (!line.key || !SameText(*line.key, "Signature") || line.fields.empty()) continue;
    const std::string& signature = line.fields[0];
    return SameText(signature, "$Windows NT$") || SameText(signature, "$Chicago$") ||
           SameText(signature, "$Windows 95$");
  }
  return false;
}

}  // namespace platform::sim
