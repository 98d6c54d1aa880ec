// CDialog: a modal dialog built from a resource template, with data exchange, the standard OK and Cancel
// commands and a per-class message map. The window exists only while DoModal runs.
#pragma once

#include <cstdint>

#include "framework/DataExchange.h"
#include "framework/WindowMessage.h"
#include "platform/UiApi.h"

namespace framework {

class CDialog : private platform::DialogProcedure {
 public:
  CDialog(int templateId, platform::WindowHandle parent);
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog until EndDialog; returns the value given to it, or -1 when no window could be made.
  std::intptr_t DoModal();

  platform::WindowHandle Window() const { return window_; }
  int TemplateId() const { return templateId_; }

  // Exchanges data in the given direction; true when the exchange could take place (a window exists).
  bool UpdateData(bool saveAndValidate);
  void EndDialog(std::intptr_t result);

 protected:
  virtual void DoDataExchange(DataExchange& exchange);
  // Loads the members into the controls; returns true to let Windows give the focus to the first control.
  virtual bool OnInitDialog();
  // The class's message map; the base takes the OK and Cancel commands.
  virtual MessageResult OnMessage(const WindowMessage& received);
  // Standard OK: save the controls and end with IDOK. Standard Cancel: end with IDCANCEL.
  void OnOK();
  void OnCancel();

 private:
  bool InitDialog(platform::WindowHandle dialog) override;
  std::optional<std::intptr_t> HandleMessage(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam) override;

  int templateId_;
  platform::WindowHandle parent_;
  platform::WindowHandle window_ = platform::kNoWindow;
};

}  // namespace framework
