// The calls the simulated Setup API and Service Control Manager received, in order, so that a test can
// check an order across both. A test may watch each call as it arrives (to interleave what other parts of
// the host recorded meanwhile).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform::sim {

struct SimJournal {
  std::vector<std::string> calls;
  std::function<void(const std::string& call)> onCall;

  void Record(const std::string& call) {
    calls.push_back(call);
    if (onCall) onCall(call);
  }
};

}  // namespace platform::sim
