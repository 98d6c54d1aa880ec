// The three-language message table shared with the platform's other camera tools.
//
// Every message the program shows comes from one cell of MessageTable: the row names the
// message, the column (LanguageIndex) the language. Cells carry the bytes that go to the
// ANSI message box unchanged (ASCII, code page 936 or code page 950) and, beside them, the
// same text as UTF-8 for people and tests. Callers index the table directly; they never use
// a row outside 0..kMessageRowCount-1 nor read it while LanguageIndex is -1.
#pragma once

#include <array>
#include <string_view>

namespace messages {

inline constexpr int kMessageRowCount = 92;
inline constexpr int kLanguageCount = 3;  // 0 English, 1 Simplified Chinese, 2 Traditional Chinese

struct MessageCell {
  std::string_view readable;  // the text as UTF-8, for people and tests
  std::string_view stored;    // the bytes shown: ASCII, code page 936 or code page 950
};

using MessageRow = std::array<MessageCell, kLanguageCount>;

// Row 0 names the three languages; the other rows are messages. Every stored cell is
// null-terminated, so stored.data() can be handed to the ANSI Windows functions.
extern const std::array<MessageRow, kMessageRowCount> MessageTable;

// Process-wide language: column of MessageTable; -1 until a language is chosen.
extern int LanguageIndex;

// Rows the program shows.
inline constexpr int kRowOperationFailed = 28;  // "%d" receives the system error number
inline constexpr int kRowErrorCaption = 44;
inline constexpr int kRowApiLoadFailed = 65;
inline constexpr int kRowInstallSuccess = 66;
inline constexpr int kRowRegistrationFailed = 73;

}  // namespace messages
