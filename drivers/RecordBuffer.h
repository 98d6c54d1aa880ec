// A growable buffer for a Windows call that fills a caller's memory with records of type Record followed
// by the strings they point to: sized in bytes as Windows asks, aligned for Record, and read back only as
// far as it holds whole records.
#pragma once

#include <cstdint>
#include <vector>

namespace drivers {

template <typename Record>
class RecordBuffer {
 public:
  // Replaces the contents with byteCount zero bytes.
  void Resize(std::uint32_t byteCount) {
    records_.assign((byteCount + sizeof(Record) - 1) / sizeof(Record), Record{});
    byteCount_ = byteCount;
  }
  std::uint8_t* Bytes() { return byteCount_ == 0 ? nullptr : reinterpret_cast<std::uint8_t*>(records_.data()); }
  std::uint32_t ByteCount() const { return byteCount_; }
  // How many whole records fit in the bytes handed to Windows.
  std::uint32_t Capacity() const { return static_cast<std::uint32_t>(byteCount_ / sizeof(Record)); }
  const Record& operator[](std::uint32_t index) const { return records_[index]; }

 private:
  std::vector<Record> records_;
  std::uint32_t byteCount_ = 0;
};

}  // namespace drivers
