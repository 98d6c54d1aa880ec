#include "app/BrandFields.h"

namespace app {

// Writable, externally visible data: the compiler cannot know the text at build time of its readers.
[[gnu::used]] BrandField CompanyNameField = {"Selvanic", {0xA9, 0xA8, 0xA5, 0xA1, 0xA4, 0xA1}};
[[gnu::used]] BrandField DriverBaseNameField = {"ZeZ2Idador", {0xA9, 0xA8, 0xA5, 0xA1, 0xA4, 0xA2}};

std::string ReadBrandField(const BrandField& field) {
  // Read through a volatile view, byte by byte, so the text is taken from the file's data at every use.
  const volatile char* text = field.text;
  std::string result;
  for (std::size_t at = 0; at < kBrandFieldSize && text[at] != '\0'; ++at) result += text[at];
  return result;
}

}  // namespace app
