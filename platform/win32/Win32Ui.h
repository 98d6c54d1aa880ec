// The window system on real Windows: dialogs from the program's resources through a dialog procedure that
// hands each message to the framework, and the user32 calls the framework makes.
#pragma once

#include <map>
#include <memory>

#include "platform/UiApi.h"

namespace platform::win32 {

class Win32Ui : public UiApi {
 public:
  Win32Ui();
  ~Win32Ui() override;
  std::intptr_t DialogBoxParamA(int templateId, WindowHandle parent, DialogProcedure& procedure) override;
  bool EndDialog(WindowHandle dialog, std::intptr_t result) override;
  WindowHandle GetDlgItem(WindowHandle dialog, int controlId) override;
  WindowHandle GetNextSibling(WindowHandle window) override;
  std::uint32_t GetWindowStyle(WindowHandle window) override;
  std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  bool PostQuitMessage(int exitCode) override;
  int RunMessageLoop() override;
  MenuHandle GetSystemMenu(WindowHandle window, bool revert) override;
  bool AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const std::string& text) override;
  std::string LoadStringA(std::uint32_t stringId) override;
  IconHandle LoadIconA(int resourceId) override;
  bool IsIconic(WindowHandle window) override;
  bool GetClientRect(WindowHandle window, Rect& rect) override;
  int GetSystemMetrics(int index) override;
  DeviceContext BeginPaint(WindowHandle window) override;
  void EndPaint(WindowHandle window) override;
  bool DrawIcon(DeviceContext context, int x, int y, IconHandle icon) override;
  int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t type) override;

 private:
  struct PaintState;
  // The PAINTSTRUCT of each window between BeginPaint and EndPaint.
  std::map<WindowHandle, std::unique_ptr<PaintState>> paints_;
};

}  // namespace platform::win32
