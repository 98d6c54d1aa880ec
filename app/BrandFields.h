// The program's brand: the company name and the USB driver's base name. Each is a 90-byte text field in
// the program's writable static data, its text followed by zero bytes and directly by six marker bytes,
// so that a packager can rebrand a built program by overwriting the text in the file. Both are read
// afresh at every use.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace app {

inline constexpr std::size_t kBrandFieldSize = 90;
inline constexpr std::size_t kBrandMarkerSize = 6;

using BrandMarker = std::array<std::uint8_t, kBrandMarkerSize>;
inline constexpr BrandMarker kCompanyNameMarker{0xA9, 0xA8, 0xA5, 0xA1, 0xA4, 0xA1};
inline constexpr BrandMarker kDriverBaseNameMarker{0xA9, 0xA8, 0xA5, 0xA1, 0xA4, 0xA2};

struct BrandField {
  char text[kBrandFieldSize];
  BrandMarker marker;
};
static_assert(sizeof(BrandField) == kBrandFieldSize + 6, "the marker must follow the text directly");

extern BrandField CompanyNameField;     // "Selvanic", marker A9 A8 A5 A1 A4 A1
extern BrandField DriverBaseNameField;  // "ZeZ2Idador", marker A9 A8 A5 A1 A4 A2

// The field's text up to its first zero byte, and never past the field's end.
std::string ReadBrandField(const BrandField& field);

inline std::string CompanyNameText() { return ReadBrandField(CompanyNameField); }
inline std::string DriverBaseName() { return ReadBrandField(DriverBaseNameField); }

}  // namespace app
