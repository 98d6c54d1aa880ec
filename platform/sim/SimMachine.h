// What every part of the simulated host shares: the machine's kind, the thread's last error and the
// failures a test planned.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/sim/FaultPlan.h"

namespace platform::sim {

struct SimMachine {
  // 64-bit Windows: the program, a 32-bit process, runs under WOW64.
  bool is64BitWindows = true;
  // The calling thread's WOW64 file-system redirection (on unless switched off).
  bool redirectionDisabled = false;
  std::uint32_t lastError = 0;
  FaultPlan faults;

  // True, with the last error set, when the test planned this call to fail.
  bool Planned(const char* call, std::string detail = std::string()) {
    if (auto error = faults.Consult(call, std::move(detail))) {
      lastError = *error;
      return true;
    }
    return false;
  }
};

}  // namespace platform::sim
