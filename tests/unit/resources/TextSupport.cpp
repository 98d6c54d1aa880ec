#include "TextSupport.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace restest {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw std::runtime_error("cannot open " + path);
  return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding) {
  iconv_t converter = iconv_open("UTF-8", encoding.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv does not know " + encoding);
  std::string input(bytes);
  std::string output(input.size() * 4 + 16, '\0');
  char* in = input.data();
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  int error = errno;
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) {
    throw std::runtime_error("invalid " + encoding + " text at byte " + std::to_string(input.size() - inLeft) +
                             " (errno " + std::to_string(error) + ")");
  }
  output.resize(output.size() - outLeft);
  return output;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return ConvertToUtf8(bytes, "UTF-16LE");
}

std::string IconvNameOfCodePage(unsigned codePage) {
  if (codePage == 65001) return "UTF-8";
  if (codePage == 1200) return "UTF-16LE";
  return "CP" + std::to_string(codePage);
}

}  // namespace restest
