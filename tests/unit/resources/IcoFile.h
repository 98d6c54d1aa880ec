// A reader for .ico files: the directory and, for each image, its BITMAPINFOHEADER, colour
// pixels and AND mask. Malformed files throw IcoFormatError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace restest {

struct IcoFormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct IcoImage {
  // Directory entry
  int width = 0, height = 0;  // 0 in the directory means 256
  int colorCount = 0, planes = 0, bitCount = 0;
  std::uint32_t bytesInRes = 0, imageOffset = 0;
  // BITMAPINFOHEADER
  std::uint32_t headerSize = 0;
  std::int32_t bitmapWidth = 0, bitmapHeight = 0;  // the height counts colour image and mask
  int bitmapPlanes = 0, bitmapBitCount = 0;
  std::uint32_t compression = 0;
  std::string bytes;  // the whole image as stored: header, pixels, mask

  // For 24-bit images: the colour at (x, y), y = 0 the top row, as 0xRRGGBB; and whether the AND
  // mask makes the pixel transparent.
  std::uint32_t Pixel(int x, int y) const;
  bool Transparent(int x, int y) const;
};

struct IcoFile {
  std::vector<IcoImage> images;
};

IcoFile ParseIco(const std::string& bytes);

}  // namespace restest
