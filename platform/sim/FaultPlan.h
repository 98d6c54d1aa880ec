// Failures on demand for the simulated host: a test names a call and the error it is to fail with.
// Each simulated call asks the plan first; a planned failure sets the last error and the call fails.
// The plan also keeps the order in which the calls were asked about, so that a test can learn from one
// run which calls a scenario makes and fail each of them in turn, and it can make a call keep giving
// the same answer for ever (as a misbehaving Windows might), to show that every loop still ends.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace platform::sim {

// One call as the simulated host answered it: its Win32 name and what it was about (a key path, an
// entry point), empty where the name says enough.
struct AnsweredCall {
  std::string name;
  std::string detail;
};

class FaultPlan {
 public:
  // Makes every later call of this name fail with the error (until Clear). Calls are named as in Win32.
  void Fail(const std::string& call, std::uint32_t error) { planned_[call] = error; }
  // Makes only the nth call of this name (counted from 1 over the plan's life) fail with the error.
  void FailNth(const std::string& call, std::size_t nth, std::uint32_t error) { nth_[call] = {nth, error}; }
  void Clear(const std::string& call) {
    planned_.erase(call);
    nth_.erase(call);
  }

  // The call keeps answering as it just did instead of moving on: an enumeration that never ends, a
  // buffer that is never large enough. Each simulated call that has such an answer documents it.
  void Endless(const std::string& call) { endless_.insert(call); }
  bool IsEndless(const std::string& call) const { return endless_.count(call) != 0; }

  // Records the call and gives the error to fail it with, if one is planned.
  std::optional<std::uint32_t> Consult(const std::string& call, std::string detail = std::string()) {
    const std::size_t count = ++counts_[call];
    answered_.push_back({call, std::move(detail)});
    if (auto all = planned_.find(call); all != planned_.end()) return all->second;
    if (auto one = nth_.find(call); one != nth_.end() && one->second.first == count) return one->second.second;
    return std::nullopt;
  }

  // Every call consulted so far, in order.
  const std::vector<AnsweredCall>& Answered() const { return answered_; }

 private:
  std::map<std::string, std::uint32_t> planned_;
  std::map<std::string, std::pair<std::size_t, std::uint32_t>> nth_;
  std::set<std::string> endless_;
  std::map<std::string, std::size_t> counts_;
  std::vector<AnsweredCall> answered_;
};

}  // namespace platform::sim
