#include "app/BrandFields.h"

namespace app {

// Writable, externally visible data: the compiler cannot know the text at build time of its readers.
[[gnu::used]] BrandField CompanyNameField = {"Selvanic", kCompanyNameMarker};
[[gnu::used]] BrandField DriverBaseNameField = {"ZeZ2Idador", kDriverBaseNameMarker};

std::string ReadBrandField(const BrandField& field) {
  // Read through a volatile view, byte by byte, so the text is taken from the file's data at every use.
  const volatile char* text = field.text;
  std::string result;
  for (std::size_t at = 0; at < kBrandFieldSize && text[at] != '\0'; ++at) result += text[at];
  return result;
}

}  // namespace app
