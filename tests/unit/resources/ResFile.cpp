#include "ResFile.h"

#include <algorithm>
#include <string_view>

namespace restest {
namespace {

class ByteReader {
 public:
  explicit ByteReader(std::string_view data, size_t pos = 0) : data_(data), pos_(pos) {}

  size_t Pos() const { return pos_; }
  size_t Size() const { return data_.size(); }
  bool AtEnd() const { return pos_ >= data_.size(); }

  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint16_t U16() {
    std::uint16_t low = U8();
    return static_cast<std::uint16_t>(low | (U8() << 8));
  }
  std::uint32_t U32() {
    std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }
  int I16() { return static_cast<std::int16_t>(U16()); }

  std::string Bytes(size_t count) {
    Need(count);
    std::string bytes(data_.substr(pos_, count));
    pos_ += count;
    return bytes;
  }

  // Aligns to a 32-bit boundary relative to the start of the data.
  void Align() {
    pos_ = (pos_ + 3) & ~size_t{3};
    if (pos_ > data_.size()) pos_ = data_.size();
  }

  std::u16string Sz() {
    std::u16string text;
    for (char16_t unit = static_cast<char16_t>(U16()); unit != 0; unit = static_cast<char16_t>(U16())) {
      text.push_back(unit);
    }
    return text;
  }

  // A resource name or dialog field: 0xFFFF and an ordinal, 0x0000 for none, or a string.
  ResName SzOrOrd() {
    ResName name;
    Need(2);
    std::uint16_t first = static_cast<std::uint16_t>(static_cast<std::uint8_t>(data_[pos_]) |
                                                     (static_cast<std::uint8_t>(data_[pos_ + 1]) << 8));
    if (first == 0xFFFF) {
      pos_ += 2;
      name.isOrdinal = true;
      name.ordinal = U16();
    } else {
      name.text = Sz();
    }
    return name;
  }

 private:
  void Need(size_t count) const {
    if (pos_ + count > data_.size()) {
      throw ResFormatError("data ends at byte " + std::to_string(data_.size()) + ", " + std::to_string(count) +
                           " more needed at " + std::to_string(pos_));
    }
  }

  std::string_view data_;
  size_t pos_;
};

}  // namespace

std::vector<ResEntry> ReadResFile(const std::string& bytes) {
  std::vector<ResEntry> entries;
  ByteReader reader(bytes);
  bool first = true;
  while (!reader.AtEnd()) {
    size_t start = reader.Pos();
    std::uint32_t dataSize = reader.U32();
    std::uint32_t headerSize = reader.U32();
    ResEntry entry;
    entry.type = reader.SzOrOrd();
    entry.name = reader.SzOrOrd();
    reader.Align();
    reader.U32();  // DataVersion
    entry.memoryFlags = reader.U16();
    entry.language = reader.U16();
    reader.U32();  // Version
    reader.U32();  // Characteristics
    if (reader.Pos() != start + headerSize) throw ResFormatError("resource header size mismatch");
    entry.data = reader.Bytes(dataSize);
    reader.Align();
    if (first) {
      if (dataSize != 0 || !entry.type.Is(0) || !entry.name.Is(0)) {
        throw ResFormatError("not a 32-bit .res file: it does not start with the empty entry");
      }
      first = false;
      continue;
    }
    entries.push_back(std::move(entry));
  }
  if (first) throw ResFormatError("empty .res file");
  return entries;
}

DialogEx DecodeDialogEx(const std::string& data) {
  ByteReader reader(data);
  DialogEx dialog;
  std::uint16_t version = reader.U16();
  std::uint16_t signature = reader.U16();
  if (version != 1 || signature != 0xFFFF) throw ResFormatError("not an extended dialog template");
  dialog.helpId = reader.U32();
  dialog.exStyle = reader.U32();
  dialog.style = reader.U32();
  std::uint16_t count = reader.U16();
  dialog.x = reader.I16();
  dialog.y = reader.I16();
  dialog.width = reader.I16();
  dialog.height = reader.I16();
  dialog.menu = reader.SzOrOrd();
  dialog.windowClass = reader.SzOrOrd();
  dialog.title = reader.Sz();
  constexpr std::uint32_t kDsSetFont = 0x40;
  if (dialog.style & kDsSetFont) {
    dialog.pointSize = reader.U16();
    dialog.weight = reader.U16();
    dialog.italic = reader.U8();
    dialog.charset = reader.U8();
    dialog.typeface = reader.Sz();
  }
  for (std::uint16_t i = 0; i < count; ++i) {
    reader.Align();
    DialogItemEx item;
    item.helpId = reader.U32();
    item.exStyle = reader.U32();
    item.style = reader.U32();
    item.x = reader.I16();
    item.y = reader.I16();
    item.width = reader.I16();
    item.height = reader.I16();
    item.id = static_cast<std::int32_t>(reader.U32());
    item.windowClass = reader.SzOrOrd();
    item.title = reader.SzOrOrd();
    item.extraCount = reader.U16();
    reader.Bytes(item.extraCount);
    dialog.items.push_back(std::move(item));
  }
  reader.Align();
  if (!reader.AtEnd()) throw ResFormatError("bytes after the last dialog item");
  return dialog;
}

std::array<std::u16string, 16> DecodeStringBlock(const std::string& data) {
  ByteReader reader(data);
  std::array<std::u16string, 16> strings;
  for (std::u16string& text : strings) {
    std::uint16_t length = reader.U16();
    for (std::uint16_t i = 0; i < length; ++i) text.push_back(static_cast<char16_t>(reader.U16()));
  }
  reader.Align();
  if (!reader.AtEnd()) throw ResFormatError("bytes after the sixteenth string");
  return strings;
}

std::vector<GroupIconEntry> DecodeGroupIcon(const std::string& data) {
  ByteReader reader(data);
  if (reader.U16() != 0 || reader.U16() != 1) throw ResFormatError("not an icon group");
  std::uint16_t count = reader.U16();
  std::vector<GroupIconEntry> entries;
  for (std::uint16_t i = 0; i < count; ++i) {
    GroupIconEntry entry;
    entry.width = reader.U8();
    entry.height = reader.U8();
    entry.colorCount = reader.U8();
    reader.U8();  // reserved
    entry.planes = reader.U16();
    entry.bitCount = reader.U16();
    entry.bytesInRes = reader.U32();
    entry.iconId = reader.U16();
    entries.push_back(entry);
  }
  if (!reader.AtEnd()) throw ResFormatError("bytes after the last icon group entry");
  return entries;
}

namespace {

// Decodes the node at start, which must end by limit; returns it and sets next to its aligned end.
VersionNode DecodeVersionNode(std::string_view data, size_t start, size_t limit, size_t& next) {
  ByteReader header(data.substr(0, limit), start);
  std::uint16_t length = header.U16();
  size_t end = start + length;
  if (length < 6 || end > limit) throw ResFormatError("version node length out of range");
  ByteReader reader(data.substr(0, end), header.Pos());
  std::uint16_t valueLength = reader.U16();
  VersionNode node;
  node.type = reader.U16();
  if (node.type > 1) throw ResFormatError("version node of unknown type");
  node.key = reader.Sz();
  reader.Align();
  if (node.type == 1) {
    std::string text = reader.Bytes(size_t{valueLength} * 2);
    if (text.size() >= 2 && text[text.size() - 1] == 0 && text[text.size() - 2] == 0) text.resize(text.size() - 2);
    node.value = text;
  } else {
    node.value = reader.Bytes(valueLength);
  }
  reader.Align();
  for (size_t child = reader.Pos(); child < end;) {
    node.children.push_back(DecodeVersionNode(data, child, end, child));
  }
  next = std::min((end + 3) & ~size_t{3}, limit);
  return node;
}

}  // namespace

const VersionNode* VersionNode::Child(const std::u16string& childKey) const {
  for (const VersionNode& child : children) {
    if (child.key == childKey) return &child;
  }
  return nullptr;
}

VersionNode DecodeVersionInfo(const std::string& data) {
  size_t next = 0;
  VersionNode root = DecodeVersionNode(data, 0, data.size(), next);
  if (next != data.size()) throw ResFormatError("bytes after the version block");
  return root;
}

FixedFileInfo DecodeFixedFileInfo(const std::string& value) {
  if (value.size() != 52) throw ResFormatError("VS_FIXEDFILEINFO is not 52 bytes");
  ByteReader reader(value);
  FixedFileInfo info;
  info.signature = reader.U32();
  info.structVersion = reader.U32();
  info.fileVersionMs = reader.U32();
  info.fileVersionLs = reader.U32();
  info.productVersionMs = reader.U32();
  info.productVersionLs = reader.U32();
  info.fileFlagsMask = reader.U32();
  info.fileFlags = reader.U32();
  info.fileOs = reader.U32();
  info.fileType = reader.U32();
  info.fileSubtype = reader.U32();
  return info;
}

std::u16string VersionText(const VersionNode& node) {
  if (node.type != 1) throw ResFormatError("version node is not text");
  std::u16string text;
  for (size_t i = 0; i + 1 < node.value.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(node.value[i]) |
                                         (static_cast<std::uint8_t>(node.value[i + 1]) << 8)));
  }
  return text;
}

}  // namespace restest
