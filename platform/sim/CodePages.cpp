#include "platform/sim/CodePages.h"

#include <iconv.h>

#include <memory>
#include <vector>

namespace platform::sim {
namespace {

const char* IconvName(std::uint32_t codePage) {
  switch (codePage) {
    case 936:
      return "CP936";
    case 950:
      return "CP950";
    default:
      return "CP1252";
  }
}

std::optional<std::string> Convert(const std::string& input, const char* from, const char* to) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, int (*)(iconv_t)> closer(converter, iconv_close);
  std::vector<char> in(input.begin(), input.end());
  std::vector<char> out(input.size() * 4 + 16);
  char* inPointer = in.data();
  std::size_t inLeft = in.size();
  char* outPointer = out.data();
  std::size_t outLeft = out.size();
  if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  return std::string(out.data(), out.size() - outLeft);
}

}  // namespace

std::optional<std::string> WideToCodePage(const std::wstring& text, std::uint32_t codePage) {
  std::string utf16;
  auto append = [&utf16](std::uint32_t unit) {
    utf16 += static_cast<char>(unit & 0xFF);
    utf16 += static_cast<char>((unit >> 8) & 0xFF);
  };
  for (wchar_t c : text) {
    const auto point = static_cast<std::uint32_t>(c);
    if (point > 0xFFFF) {  // a wide string of this host holds whole code points: make the UTF-16 pair
      append(0xD800 + ((point - 0x10000) >> 10));
      append(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      append(point);
    }
  }
  return Convert(utf16, "UTF-16LE", IconvName(codePage));
}

std::optional<std::string> CodePageToUtf8(const std::string& bytes, std::uint32_t codePage) {
  return Convert(bytes, IconvName(codePage), "UTF-8");
}

std::string Utf8ToCodePageLossy(const std::string& text, std::uint32_t codePage) {
  std::string result;
  std::size_t at = 0;
  while (at < text.size()) {  // one UTF-8 character at a time, so that one without equivalent becomes '?'
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    std::optional<std::string> converted = Convert(text.substr(at, length), "UTF-8", IconvName(codePage));
    result += converted ? *converted : std::string("?");
    at += length;
  }
  return result;
}

bool IsLeadByte(std::uint8_t byte, std::uint32_t codePage) {
  return (codePage == 936 || codePage == 950) && byte >= 0x81 && byte <= 0xFE;
}

}  // namespace platform::sim
