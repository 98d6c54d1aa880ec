#include "platform/win32/Win32Ui.h"

#include <windows.h>

#include <vector>

namespace platform::win32 {
namespace {

HWND ToWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromWindow(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Hands every message after WM_INITDIALOG to the framework's dialog; an unanswered message goes to the
// default dialog handling. WM_QUERYDRAGICON answers through the return value, the others through
// DWLP_MSGRESULT.
INT_PTR CALLBACK DialogProcedureEntry(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    auto* procedure = reinterpret_cast<DialogProcedure*>(lParam);
    return procedure->InitDialog(FromWindow(window)) ? TRUE : FALSE;
  }
  auto* procedure = reinterpret_cast<DialogProcedure*>(::GetWindowLongPtrA(window, DWLP_USER));
  if (procedure == nullptr) return FALSE;
  const std::optional<std::intptr_t> answer = procedure->HandleMessage(message, wParam, lParam);
  if (!answer) return FALSE;
  if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(*answer);
  ::SetWindowLongPtrA(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(*answer));
  return TRUE;
}

}  // namespace

struct Win32Ui::PaintState {
  PAINTSTRUCT paint;
};

Win32Ui::Win32Ui() = default;
Win32Ui::~Win32Ui() = default;

std::intptr_t Win32Ui::DialogBoxParamA(int templateId, WindowHandle parent, DialogProcedure& procedure) {
  return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), ToWindow(parent),
                           DialogProcedureEntry, reinterpret_cast<LPARAM>(&procedure));
}

bool Win32Ui::EndDialog(WindowHandle dialog, std::intptr_t result) {
  return ::EndDialog(ToWindow(dialog), result) != 0;
}

WindowHandle Win32Ui::GetDlgItem(WindowHandle dialog, int controlId) {
  return FromWindow(::GetDlgItem(ToWindow(dialog), controlId));
}

WindowHandle Win32Ui::GetNextSibling(WindowHandle window) {
  return FromWindow(::GetWindow(ToWindow(window), GW_HWNDNEXT));
}

std::uint32_t Win32Ui::GetWindowStyle(WindowHandle window) {
  return static_cast<std::uint32_t>(::GetWindowLongA(ToWindow(window), GWL_STYLE));
}

std::intptr_t Win32Ui::SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
  return ::SendMessageA(ToWindow(window), message, wParam, lParam);
}

bool Win32Ui::PostQuitMessage(int exitCode) {
  ::PostQuitMessage(exitCode);
  return true;
}

int Win32Ui::RunMessageLoop() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

MenuHandle Win32Ui::GetSystemMenu(WindowHandle window, bool revert) {
  return reinterpret_cast<MenuHandle>(::GetSystemMenu(ToWindow(window), revert ? TRUE : FALSE));
}

bool Win32Ui::AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const std::string& text) {
  return ::AppendMenuA(reinterpret_cast<HMENU>(menu), flags, itemId, (flags & MF_SEPARATOR) ? nullptr : text.c_str()) !=
         0;
}

std::string Win32Ui::LoadStringA(std::uint32_t stringId) {
  std::vector<char> buffer(1024, '\0');
  const int length =
      ::LoadStringA(::GetModuleHandleA(nullptr), stringId, buffer.data(), static_cast<int>(buffer.size()));
  return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string();
}

IconHandle Win32Ui::LoadIconA(int resourceId) {
  return reinterpret_cast<IconHandle>(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)));
}

bool Win32Ui::IsIconic(WindowHandle window) { return ::IsIconic(ToWindow(window)) != 0; }

bool Win32Ui::GetClientRect(WindowHandle window, Rect& rect) {
  RECT client;
  if (!::GetClientRect(ToWindow(window), &client)) return false;
  rect = Rect{client.left, client.top, client.right, client.bottom};
  return true;
}

int Win32Ui::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

DeviceContext Win32Ui::BeginPaint(WindowHandle window) {
  auto state = std::make_unique<PaintState>();
  HDC context = ::BeginPaint(ToWindow(window), &state->paint);
  paints_[window] = std::move(state);
  return reinterpret_cast<DeviceContext>(context);
}

void Win32Ui::EndPaint(WindowHandle window) {
  auto found = paints_.find(window);
  if (found == paints_.end()) return;
  ::EndPaint(ToWindow(window), &found->second->paint);
  paints_.erase(found);
}

bool Win32Ui::DrawIcon(DeviceContext context, int x, int y, IconHandle icon) {
  return ::DrawIcon(reinterpret_cast<HDC>(context), x, y, reinterpret_cast<HICON>(icon)) != 0;
}

int Win32Ui::MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t type) {
  return ::MessageBoxA(ToWindow(owner), text.c_str(), caption.c_str(), type);
}

}  // namespace platform::win32
