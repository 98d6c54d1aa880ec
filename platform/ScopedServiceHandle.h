// A Service Control Manager handle (of the manager or of one service) owned by one scope and closed when
// the owner goes. A null handle, the failure value of the opening calls, is never closed.
#pragma once

#include "platform/Backends.h"

namespace platform {

class ScopedServiceHandle {
 public:
  explicit ScopedServiceHandle(ScHandle handle) : handle_(handle) {}
  ~ScopedServiceHandle() {
    if (IsOpen()) Services().CloseServiceHandle(handle_);
  }
  ScopedServiceHandle(const ScopedServiceHandle&) = delete;
  ScopedServiceHandle& operator=(const ScopedServiceHandle&) = delete;

  bool IsOpen() const { return handle_ != 0; }
  ScHandle Get() const { return handle_; }

 private:
  ScHandle handle_;
};

}  // namespace platform
