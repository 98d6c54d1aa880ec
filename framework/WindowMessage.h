// A window message as the framework hands it to a dialog, and the answer a handler gives.
#pragma once

#include <cstdint>
#include <optional>

namespace framework {

struct WindowMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;

  // WM_COMMAND parts: control id in the low word, notification code in the high word.
  int CommandId() const { return static_cast<int>(wParam & 0xFFFF); }
  std::uint32_t NotifyCode() const { return static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF); }
};

// A handler's answer: a value for Windows, or empty to leave the message to the default dialog handling.
using MessageResult = std::optional<std::intptr_t>;

inline MessageResult DefaultHandling() { return std::nullopt; }

}  // namespace framework
