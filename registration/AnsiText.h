// Text comparisons on narrow strings of the system's ANSI code page that step over double-byte
// characters whole, so that a trail byte is never taken for a character of its own.
#pragma once

#include <string>

namespace registration {

// Whether the text holds the sought text, exactly and case-sensitively, starting at a character
// boundary (never inside a double-byte character).
bool ContainsText(const std::string& text, const std::string& sought);

// Whether both texts are equal when the letters A-Z and a-z are taken as the same; the bytes of a
// double-byte character compare exactly.
bool EqualIgnoringCase(const std::string& left, const std::string& right);

}  // namespace registration
