// Setup API handles owned by one scope: an open INF file and a device information set, each closed when
// its owner goes. Neither can be copied; an invalid handle (the failure value of the opening call) is
// never closed.
#pragma once

#include "platform/Backends.h"

namespace platform {

class ScopedInfFile {
 public:
  explicit ScopedInfFile(InfHandle inf) : inf_(inf) {}
  ~ScopedInfFile() {
    if (IsOpen()) Setup().SetupCloseInfFile(inf_);
  }
  ScopedInfFile(const ScopedInfFile&) = delete;
  ScopedInfFile& operator=(const ScopedInfFile&) = delete;

  bool IsOpen() const { return inf_ != kInvalidInfHandle; }
  InfHandle Get() const { return inf_; }

 private:
  InfHandle inf_;
};

class ScopedDeviceInfoSet {
 public:
  explicit ScopedDeviceInfoSet(DeviceInfoSet set) : set_(set) {}
  ~ScopedDeviceInfoSet() {
    if (IsOpen()) Setup().SetupDiDestroyDeviceInfoList(set_);
  }
  ScopedDeviceInfoSet(const ScopedDeviceInfoSet&) = delete;
  ScopedDeviceInfoSet& operator=(const ScopedDeviceInfoSet&) = delete;

  bool IsOpen() const { return set_ != kInvalidDeviceInfoSet; }
  DeviceInfoSet Get() const { return set_; }

 private:
  DeviceInfoSet set_;
};

}  // namespace platform
