// Dialog data exchange: moves values between a dialog's members and its controls, in the direction the
// exchange was made for (saving: controls into members; loading: members into controls).
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

namespace framework {

class DataExchange {
 public:
  DataExchange(platform::WindowHandle dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  platform::WindowHandle Dialog() const { return dialog_; }
  bool Saving() const { return saving_; }

 private:
  platform::WindowHandle dialog_;
  bool saving_;
};

// A radio group that starts at control firstId and runs to the next control with WS_GROUP; only radio
// buttons count in the index. Saving gives the index of the checked button, or -1 when none is checked;
// loading checks the button at the index and clears the others.
void ExchangeRadioGroup(DataExchange& exchange, int firstId, std::int32_t& index);

// A check box: 0 cleared, 1 checked.
void ExchangeCheckBox(DataExchange& exchange, int controlId, std::int32_t& checked);

}  // namespace framework
