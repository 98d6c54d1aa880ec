#include "drivers/CaseInsensitiveText.h"

#include <algorithm>

namespace drivers {
namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(char left, char right) { return UpperAscii(left) == UpperAscii(right); }

}  // namespace

std::string ToUpperAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), UpperAscii);
  return text;
}

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() && std::equal(left.begin(), left.end(), right.begin(), SameIgnoringCase);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  if (part.empty()) return false;
  return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) != text.end();
}

}  // namespace drivers
