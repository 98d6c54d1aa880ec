// Reading a fuzzer's bytes as the pieces a target needs: small choices, then texts up to a separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  bool Done() const { return rest_.empty(); }

  // One byte (0 when the input is used up).
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  // The text up to the next separator (which is consumed), or all that is left.
  std::string Until(char separator) {
    const std::size_t end = rest_.find(separator);
    const std::string text(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return text;
  }

  std::string Rest() {
    const std::string text(rest_);
    rest_ = {};
    return text;
  }

 private:
  std::string_view rest_;
};

// A property the code under test must keep: its failure is a finding, reported like a crash.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

}  // namespace fuzz
