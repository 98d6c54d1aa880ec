// user32 services of the dialog framework: modal dialogs from resource templates, controls, the system
// menu, icons, painting and message boxes. Each call mirrors the Win32 call of the same name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/WinTypes.h"

namespace platform {

// What a dialog procedure receives; implemented by the framework's dialog class.
class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  // WM_INITDIALOG: the window exists and its controls show the template's state. Returns whether
  // Windows is to give the focus to the first control.
  virtual bool InitDialog(WindowHandle dialog) = 0;
  // Every later message. An empty result leaves the message to the default dialog handling.
  virtual std::optional<std::intptr_t> HandleMessage(std::uint32_t message, std::uintptr_t wParam,
                                                     std::intptr_t lParam) = 0;
};

class UiApi {
 public:
  virtual ~UiApi() = default;

  // DialogBoxParamA with a template of the program's resources: runs the dialog modally and returns the
  // value given to EndDialog, or -1 when the dialog could not be created.
  virtual std::intptr_t DialogBoxParamA(int templateId, WindowHandle parent, DialogProcedure& procedure) = 0;
  virtual bool EndDialog(WindowHandle dialog, std::intptr_t result) = 0;

  virtual WindowHandle GetDlgItem(WindowHandle dialog, int controlId) = 0;
  // GetWindow(window, GW_HWNDNEXT): the next control in template order, kNoWindow after the last.
  virtual WindowHandle GetNextSibling(WindowHandle window) = 0;
  // GetWindowLongA(window, GWL_STYLE).
  virtual std::uint32_t GetWindowStyle(WindowHandle window) = 0;
  virtual std::intptr_t SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  virtual bool PostQuitMessage(int exitCode) = 0;
  // GetMessage/DispatchMessage until WM_QUIT; returns its exit code.
  virtual int RunMessageLoop() = 0;

  virtual MenuHandle GetSystemMenu(WindowHandle window, bool revert) = 0;
  // AppendMenuA; a separator passes no text.
  virtual bool AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const std::string& text) = 0;

  // LoadStringA from the program's resources: the text, empty when the string is missing.
  virtual std::string LoadStringA(std::uint32_t stringId) = 0;
  // LoadIconA(instance, MAKEINTRESOURCE(resourceId)); 0 when it cannot be loaded.
  virtual IconHandle LoadIconA(int resourceId) = 0;

  virtual bool IsIconic(WindowHandle window) = 0;
  virtual bool GetClientRect(WindowHandle window, Rect& rect) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  virtual DeviceContext BeginPaint(WindowHandle window) = 0;
  virtual void EndPaint(WindowHandle window) = 0;
  virtual bool DrawIcon(DeviceContext context, int x, int y, IconHandle icon) = 0;

  // MessageBoxA: returns the button pressed, 0 when the box could not be shown.
  virtual int MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption,
                          std::uint32_t type) = 0;
};

}  // namespace platform
