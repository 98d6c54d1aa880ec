// Message maps: a dialog class lists which handler takes which message, in order; the first entry that
// fits wins. WM_COMMAND entries may name a notification code and a control id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "framework/WindowMessage.h"
#include "platform/WinConstants.h"

namespace framework {

template <typename Dialog>
struct MessageMapEntry {
  std::uint32_t message;
  MessageResult (*handler)(Dialog&, const WindowMessage&);
  std::optional<std::uint32_t> notifyCode = std::nullopt;
  std::optional<int> controlId = std::nullopt;

  bool Fits(const WindowMessage& received) const {
    if (received.message != message) return false;
    if (message != platform::kWmCommand) return true;
    return (!notifyCode || *notifyCode == received.NotifyCode()) && (!controlId || *controlId == received.CommandId());
  }
};

// Dispatches to the first fitting entry. Empty when no entry fits (the base class may take it then);
// otherwise the handler's own answer, which may itself ask for the default handling.
template <typename Dialog>
std::optional<MessageResult> DispatchMessageMap(std::span<const MessageMapEntry<Dialog>> map, Dialog& dialog,
                                                const WindowMessage& received) {
  for (const MessageMapEntry<Dialog>& entry : map) {
    if (entry.Fits(received)) return entry.handler(dialog, received);
  }
  return std::nullopt;
}

}  // namespace framework
