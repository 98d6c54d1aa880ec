// Removes the platform's DirectShow filter registrations from both filter categories before the filters
// are deployed anew. Registrations of other software stay.
#pragma once

#include <string_view>

namespace sys {

// Subkeys of a category's Instance key whose names start with this text (case-sensitive, 35 characters)
// are the platform's: its filter CLSIDs differ only in their last byte.
inline constexpr std::string_view kPlatformFilterPrefix = "{F53B54C0-31C6-4147-B369-3415979A8E";
inline constexpr std::string_view kVideoInputInstanceKey = "CLSID\\{860BB310-5D01-11d0-BD3B-00A0C911CE86}\\Instance";
inline constexpr std::string_view kLegacyFilterInstanceKey = "CLSID\\{083863F1-70DE-11d0-BD40-00A0C911CE86}\\Instance";

// Whether a filter registration's key name belongs to the platform.
bool IsPlatformFilterKey(std::string_view name);

// One pass over each category, video input devices first. Every failure is silent; a matching subkey
// that cannot be deleted is left in place and the pass goes on past it.
void CleanFilterRegistrations();

}  // namespace sys
