#include "framework/DataExchange.h"

#include "platform/Backends.h"
#include "platform/WinConstants.h"

namespace framework {

using platform::kNoWindow;
using platform::WindowHandle;

void ExchangeRadioGroup(DataExchange& exchange, int firstId, std::int32_t& index) {
  platform::UiApi& ui = platform::Ui();
  WindowHandle control = ui.GetDlgItem(exchange.Dialog(), firstId);
  if (exchange.Saving()) index = -1;
  std::int32_t position = 0;
  while (control != kNoWindow) {
    if (ui.SendMessageA(control, platform::kWmGetDlgCode, 0, 0) & platform::kDlgcRadioButton) {
      if (exchange.Saving()) {
        if (ui.SendMessageA(control, platform::kBmGetCheck, 0, 0) != platform::kBstUnchecked) index = position;
      } else {
        ui.SendMessageA(control, platform::kBmSetCheck,
                        position == index ? platform::kBstChecked : platform::kBstUnchecked, 0);
      }
      ++position;
    }
    control = ui.GetNextSibling(control);
    if (control != kNoWindow && (ui.GetWindowStyle(control) & platform::kWsGroup)) break;
  }
}

void ExchangeCheckBox(DataExchange& exchange, int controlId, std::int32_t& checked) {
  platform::UiApi& ui = platform::Ui();
  WindowHandle control = ui.GetDlgItem(exchange.Dialog(), controlId);
  if (exchange.Saving()) {
    checked = ui.SendMessageA(control, platform::kBmGetCheck, 0, 0) == platform::kBstChecked ? 1 : 0;
  } else {
    ui.SendMessageA(control, platform::kBmSetCheck, checked ? platform::kBstChecked : platform::kBstUnchecked, 0);
  }
}

}  // namespace framework
