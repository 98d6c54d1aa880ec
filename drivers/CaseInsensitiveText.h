// Text comparisons that ignore the letter case of A to Z, as the USB driver steps make them on narrow
// (ANSI) strings. Other bytes, DBCS bytes included, compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace drivers {

// The text with a to z turned into A to Z.
std::string ToUpperAscii(std::string text);

bool EqualsIgnoringCase(std::string_view left, std::string_view right);

// Whether the text holds the part anywhere, as StrStrIA finds it. An empty part is found nowhere, so that
// an empty match text never selects everything.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

}  // namespace drivers
