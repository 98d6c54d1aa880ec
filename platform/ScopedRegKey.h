// A registry key handle owned by one scope: closed when the owner goes, or earlier by Close.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/Backends.h"

namespace platform {

class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ~ScopedRegKey() { Close(); }
  ScopedRegKey(ScopedRegKey&& other) noexcept : key_(std::exchange(other.key_, 0)) {}
  ScopedRegKey& operator=(ScopedRegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, 0);
    }
    return *this;
  }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;

  bool IsOpen() const { return key_ != 0; }
  RegKey Get() const { return key_; }
  // Where an opening call stores the new handle; whatever was open before is closed first.
  RegKey& Receive() {
    Close();
    return key_;
  }
  // Closes the key now; RegCloseKey's status, 0 when nothing was open.
  std::int32_t Close() {
    if (key_ == 0) return 0;
    return Registry().RegCloseKey(std::exchange(key_, 0));
  }

 private:
  RegKey key_ = 0;
};

}  // namespace platform
