#include "IcoFile.h"

namespace restest {
namespace {

std::uint32_t Read(const std::string& bytes, size_t offset, int size) {
  if (offset + static_cast<size_t>(size) > bytes.size()) throw IcoFormatError("read past the end of the icon");
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
  return value;
}

size_t ColourStride(const IcoImage& image) { return (static_cast<size_t>(image.bitmapWidth) * 3 + 3) / 4 * 4; }
size_t MaskStride(const IcoImage& image) { return (static_cast<size_t>(image.bitmapWidth) + 31) / 32 * 4; }
int Rows(const IcoImage& image) { return image.bitmapHeight / 2; }

void CheckPixelAccess(const IcoImage& image, int x, int y) {
  if (image.bitmapBitCount != 24 || image.compression != 0) throw IcoFormatError("not an uncompressed 24-bit image");
  if (x < 0 || y < 0 || x >= image.bitmapWidth || y >= Rows(image)) throw IcoFormatError("pixel out of range");
}

}  // namespace

std::uint32_t IcoImage::Pixel(int x, int y) const {
  CheckPixelAccess(*this, x, y);
  size_t row = static_cast<size_t>(Rows(*this) - 1 - y);  // bottom-up
  size_t offset = headerSize + row * ColourStride(*this) + static_cast<size_t>(x) * 3;
  std::uint32_t bgr = Read(bytes, offset, 3);
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
}

bool IcoImage::Transparent(int x, int y) const {
  CheckPixelAccess(*this, x, y);
  size_t row = static_cast<size_t>(Rows(*this) - 1 - y);
  size_t maskStart = headerSize + static_cast<size_t>(Rows(*this)) * ColourStride(*this);
  std::uint32_t bits = Read(bytes, maskStart + row * MaskStride(*this) + static_cast<size_t>(x) / 8, 1);
  return (bits & (0x80u >> (x % 8))) != 0;
}

IcoFile ParseIco(const std::string& bytes) {
  if (Read(bytes, 0, 2) != 0 || Read(bytes, 2, 2) != 1) throw IcoFormatError("not an icon file");
  int count = static_cast<int>(Read(bytes, 4, 2));
  IcoFile file;
  for (int i = 0; i < count; ++i) {
    size_t entry = 6 + static_cast<size_t>(i) * 16;
    IcoImage image;
    image.width = static_cast<int>(Read(bytes, entry, 1));
    image.height = static_cast<int>(Read(bytes, entry + 1, 1));
    image.colorCount = static_cast<int>(Read(bytes, entry + 2, 1));
    image.planes = static_cast<int>(Read(bytes, entry + 4, 2));
    image.bitCount = static_cast<int>(Read(bytes, entry + 6, 2));
    image.bytesInRes = Read(bytes, entry + 8, 4);
    image.imageOffset = Read(bytes, entry + 12, 4);
    if (static_cast<size_t>(image.imageOffset) + image.bytesInRes > bytes.size()) {
      throw IcoFormatError("image " + std::to_string(i) + " extends past the end of the file");
    }
    image.bytes = bytes.substr(image.imageOffset, image.bytesInRes);
    image.headerSize = Read(image.bytes, 0, 4);
    if (image.headerSize != 40) throw IcoFormatError("image " + std::to_string(i) + " has no BITMAPINFOHEADER");
    image.bitmapWidth = static_cast<std::int32_t>(Read(image.bytes, 4, 4));
    image.bitmapHeight = static_cast<std::int32_t>(Read(image.bytes, 8, 4));
    image.bitmapPlanes = static_cast<int>(Read(image.bytes, 12, 2));
    image.bitmapBitCount = static_cast<int>(Read(image.bytes, 14, 2));
    image.compression = Read(image.bytes, 16, 4);
    file.images.push_back(std::move(image));
  }
  return file;
}

}  // namespace restest
