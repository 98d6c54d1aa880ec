// Reading and rewriting the brand fields of a built program: each field is found by the marker bytes that
// directly follow it, and a new text must serve as a registry key name and a file name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/BrandFields.h"

namespace rebrand {

using Bytes = std::vector<std::uint8_t>;

struct FieldLocation {
  std::size_t offset = 0;  // of the field's first byte
  std::string error;       // set when the field cannot be used
};

// The field that ends where the marker stands. Refused when the marker is missing, found more than once,
// or stands too close to the start of the file for a whole field before it.
FieldLocation LocateField(const Bytes& file, const app::BrandMarker& marker);

// The field's text: its bytes up to the first zero, never past the field.
std::string ReadField(const Bytes& file, std::size_t offset);

// Why a text cannot be a brand, or empty when it can: it must be ASCII, printable, not empty, fit the
// field with its terminating zero, hold no path separator or character Windows forbids in names, not end
// in a space or dot, and not be a reserved device name.
std::string CheckBrandText(const std::string& text);

// Writes the text into the field and fills the rest of it with zero bytes.
void WriteField(Bytes& file, std::size_t offset, const std::string& text);

}  // namespace rebrand
