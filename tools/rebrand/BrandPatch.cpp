#include "tools/rebrand/BrandPatch.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string_view>

namespace rebrand {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

bool IsReservedDeviceName(const std::string& text) {
  std::string upper = text.substr(0, text.find('.'));
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  static constexpr std::array<std::string_view, 4> kNames{"CON", "PRN", "AUX", "NUL"};
  if (std::find(kNames.begin(), kNames.end(), upper) != kNames.end()) return true;
  return upper.size() == 4 && (upper.rfind("COM", 0) == 0 || upper.rfind("LPT", 0) == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

}  // namespace

FieldLocation LocateField(const Bytes& file, const app::BrandMarker& marker) {
  std::vector<std::size_t> found;
  auto at = file.begin();
  while ((at = std::search(at, file.end(), marker.begin(), marker.end())) != file.end()) {
    found.push_back(static_cast<std::size_t>(at - file.begin()));
    ++at;
  }
  if (found.empty()) return {0, "marker not found"};
  if (found.size() > 1) return {0, "marker found " + std::to_string(found.size()) + " times"};
  if (found[0] < app::kBrandFieldSize) return {0, "marker too close to the start of the file"};
  return {found[0] - app::kBrandFieldSize, {}};
}

std::string ReadField(const Bytes& file, std::size_t offset) {
  std::string text;
  for (std::size_t at = offset; at < offset + app::kBrandFieldSize && at < file.size() && file[at] != 0; ++at) {
    text += static_cast<char>(file[at]);
  }
  return text;
}

std::string CheckBrandText(const std::string& text) {
  if (text.empty()) return "the name is empty";
  if (text.size() + 1 > app::kBrandFieldSize) {
    return "the name is longer than " + std::to_string(app::kBrandFieldSize - 1) + " characters";
  }
  for (unsigned char c : text) {
    if (c >= 0x80) return "the name holds a non-ASCII character";
    if (c < 0x20 || c == 0x7F) return "the name holds a control character";
    if (kForbidden.find(static_cast<char>(c)) != std::string_view::npos) {
      return std::string("the name holds '") + static_cast<char>(c) + "', which Windows forbids in names";
    }
  }
  if (text.back() == ' ' || text.back() == '.') return "the name ends in a space or a dot";
  if (text.front() == ' ') return "the name starts with a space";
  if (IsReservedDeviceName(text)) return "the name is reserved for a device";
  return {};
}

void WriteField(Bytes& file, std::size_t offset, const std::string& text) {
  std::fill(file.begin() + static_cast<std::ptrdiff_t>(offset),
            file.begin() + static_cast<std::ptrdiff_t>(offset + app::kBrandFieldSize), 0);
  std::memcpy(file.data() + offset, text.data(), text.size());
}

}  // namespace rebrand
