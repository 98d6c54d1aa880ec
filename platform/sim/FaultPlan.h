// Failures on demand for the simulated host: a test names a call and the error it is to fail with.
// Each simulated call asks the plan first; a planned failure sets the last error and the call fails.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace platform::sim {

class FaultPlan {
 public:
  // Makes every later call of this name fail with the error (until Clear). Calls are named as in Win32.
  void Fail(const std::string& call, std::uint32_t error) { planned_[call] = error; }
  void Clear(const std::string& call) { planned_.erase(call); }

  // The error to fail this call with, if one is planned.
  std::optional<std::uint32_t> ErrorFor(const std::string& call) const {
    auto found = planned_.find(call);
    if (found == planned_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::map<std::string, std::uint32_t> planned_;
};

}  // namespace platform::sim
