// A reader for the subset of the resource-script language that calvant.rc uses: the preprocessor's
// #pragma code_page, #include, #define and #ifdef/#ifndef, LANGUAGE, DIALOGEX with its control
// statements, STRINGTABLE, VERSIONINFO and resources taken from files (ICON, custom types).
// Names from the Windows headers resolve through a table of their documented values; names from
// project headers through the headers' #defines. Anything outside the subset is an error, so that
// a script the reader does not understand fails the tests instead of passing them unread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace restest {

struct RcParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A style expression: the flags it sets and the flags it clears with NOT.
struct RcStyle {
  std::uint32_t set = 0;
  std::uint32_t cleared = 0;
};

struct RcControl {
  std::string keyword;  // DEFPUSHBUTTON, GROUPBOX, AUTORADIOBUTTON, AUTOCHECKBOX, LTEXT, ICON, ...
  std::string text;     // UTF-8; for ICON, the icon's resource id in decimal
  int id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::optional<RcStyle> style;  // as written after the position, if at all
  std::optional<std::uint32_t> exStyle;
  int line = 0;
};

struct RcDialog {
  int id = 0;
  std::uint16_t language = 0;
  bool extended = false;  // DIALOGEX rather than DIALOG
  int x = 0, y = 0, width = 0, height = 0;
  std::optional<RcStyle> style;
  std::optional<std::uint32_t> exStyle;
  std::optional<std::string> caption;
  std::optional<int> pointSize;
  std::string font;
  int fontWeight = 0, fontItalic = 0, fontCharset = 1;
  std::vector<RcControl> controls;
};

struct RcString {
  int id = 0;
  std::uint16_t language = 0;
  std::string text;
};

// ICON (type RT_GROUP_ICON) and custom-type resources given by a file name.
struct RcFileResource {
  int type = 0;
  int id = 0;
  std::uint16_t language = 0;
  std::string file;
};

using RcVersionItem = std::variant<std::string, std::uint32_t>;

struct RcVersionValue {
  std::string name;
  std::vector<RcVersionItem> items;
};

struct RcVersionBlock {
  std::string name;
  std::vector<RcVersionValue> values;
  std::vector<RcVersionBlock> blocks;

  const RcVersionBlock* FindBlock(const std::string& blockName) const;
  const RcVersionValue* FindValue(const std::string& valueName) const;
};

struct RcVersionInfo {
  int id = 0;
  std::uint16_t language = 0;
  std::optional<std::array<std::uint32_t, 4>> fileVersion, productVersion;
  std::optional<std::uint32_t> fileFlagsMask, fileFlags, fileOs, fileType, fileSubtype;
  RcVersionBlock root;  // unnamed; holds StringFileInfo and VarFileInfo
};

struct RcScript {
  std::optional<unsigned> codePage;  // #pragma code_page
  std::vector<std::uint16_t> languageStatements;
  std::vector<RcDialog> dialogs;
  std::vector<RcString> strings;
  std::vector<RcFileResource> files;
  std::vector<RcVersionInfo> versions;

  const RcDialog* FindDialog(int id) const;
  const RcString* FindString(int id) const;
  const RcFileResource* FindFile(int type, int id) const;
};

inline constexpr int kRtIcon = 3;
inline constexpr int kRtDialog = 5;
inline constexpr int kRtString = 6;
inline constexpr int kRtGroupIcon = 14;
inline constexpr int kRtVersion = 16;
inline constexpr int kRtManifest = 24;

// The script's bytes decoded to UTF-8 by the code page its #pragma code_page names (the resource
// compiler's view of the file). Throws RcParseError without a pragma or on bytes invalid in it.
std::string DecodeRcScript(const std::string& bytes);

// Reads and parses the script at path; included project headers are found beside the including file.
RcScript ParseRcScript(const std::string& path);

}  // namespace restest
