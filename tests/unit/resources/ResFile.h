// A reader for compiled resources (.res files, as the resource compiler writes them) and for the
// binary formats of the resources in them: extended dialog templates, string-table blocks, icon
// groups and version blocks. Malformed data throws ResFormatError.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace restest {

struct ResFormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A resource type or name, or a dialog's menu, class or title field: an ordinal or a string.
struct ResName {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::u16string text;  // empty and not an ordinal: the field is absent

  bool Is(std::uint16_t value) const { return isOrdinal && ordinal == value; }
};

struct ResEntry {
  ResName type;
  ResName name;
  std::uint16_t language = 0;
  std::uint16_t memoryFlags = 0;
  std::string data;
};

// The resources of a .res file, without the empty entry that starts every such file.
std::vector<ResEntry> ReadResFile(const std::string& bytes);

struct DialogItemEx {
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::int32_t id = 0;
  ResName windowClass;
  ResName title;
  std::uint16_t extraCount = 0;
};

struct DialogEx {
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  ResName menu, windowClass;
  std::u16string title;
  std::uint16_t pointSize = 0, weight = 0;
  std::uint8_t italic = 0, charset = 0;
  std::u16string typeface;
  std::vector<DialogItemEx> items;
};

// A DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items; throws for the older DLGTEMPLATE.
DialogEx DecodeDialogEx(const std::string& data);

// The sixteen strings of a string-table block (block n holds ids 16(n-1) to 16(n-1)+15).
std::array<std::u16string, 16> DecodeStringBlock(const std::string& data);

struct GroupIconEntry {
  std::uint8_t width = 0, height = 0, colorCount = 0;
  std::uint16_t planes = 0, bitCount = 0;
  std::uint32_t bytesInRes = 0;
  std::uint16_t iconId = 0;  // the RT_ICON resource holding the image
};

std::vector<GroupIconEntry> DecodeGroupIcon(const std::string& data);

// One node of a version block: VS_VERSIONINFO, StringFileInfo, a string table, a String, VarFileInfo, a Var.
struct VersionNode {
  std::u16string key;
  std::uint16_t type = 0;  // 1 text, 0 binary
  std::string value;       // raw bytes; for text, UTF-16 with the terminator dropped
  std::vector<VersionNode> children;

  const VersionNode* Child(const std::u16string& childKey) const;
};

VersionNode DecodeVersionInfo(const std::string& data);

struct FixedFileInfo {
  std::uint32_t signature = 0, structVersion = 0;
  std::uint32_t fileVersionMs = 0, fileVersionLs = 0, productVersionMs = 0, productVersionLs = 0;
  std::uint32_t fileFlagsMask = 0, fileFlags = 0, fileOs = 0, fileType = 0, fileSubtype = 0;
};

FixedFileInfo DecodeFixedFileInfo(const std::string& value);

// A UTF-16 value of a text node, as code units.
std::u16string VersionText(const VersionNode& node);

}  // namespace restest
