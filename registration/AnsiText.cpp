#include "registration/AnsiText.h"

#include <cstdint>

#include "platform/Backends.h"

namespace registration {
namespace {

// The length in bytes of the character that starts at this position.
std::size_t CharacterLength(const std::string& text, std::size_t at) {
  const bool lead = platform::System().IsDBCSLeadByte(static_cast<std::uint8_t>(text[at]));
  return lead && at + 1 < text.size() ? 2 : 1;
}

char FoldedAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool ContainsText(const std::string& text, const std::string& sought) {
  if (sought.empty()) return true;
  for (std::size_t at = 0; at + sought.size() <= text.size(); at += CharacterLength(text, at)) {
    if (text.compare(at, sought.size(), sought) == 0) return true;
  }
  return false;
}

bool EqualIgnoringCase(const std::string& left, const std::string& right) {
  if (left.size() != right.size()) return false;
  for (std::size_t at = 0; at < left.size();) {
    const std::size_t length = CharacterLength(left, at);
    if (length == 2) {
      if (left.compare(at, 2, right, at, 2) != 0) return false;
    } else if (FoldedAscii(left[at]) != FoldedAscii(right[at])) {
      return false;
    }
    at += length;
  }
  return true;
}

}  // namespace registration
