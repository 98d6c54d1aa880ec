#include "platform/sim/SimUi.h"

#include "platform/WinConstants.h"
#include "platform/sim/CodePages.h"

namespace platform::sim {
namespace {

constexpr DeviceContext kPaintContextBit = 0x40000000;

std::uintptr_t CommandParameter(int controlId) {
  return static_cast<std::uintptr_t>(static_cast<std::uint16_t>(controlId)) |
         (static_cast<std::uintptr_t>(kBnClicked) << 16);
}

bool IsRadio(const resources::ControlTemplate& control) {
  return control.kind == resources::ControlKind::AutoRadioButton;
}

}  // namespace

// --- the session a script drives ---

int DialogSession::TemplateId() const { return ui_.FindDialog(dialog_)->templateId; }

bool DialogSession::Ended() const { return ui_.FindDialog(dialog_)->ended; }

bool DialogSession::IsChecked(int controlId) const {
  const SimUi::Control* control = ui_.FindControl(ui_.GetDlgItem(dialog_, controlId));
  return control != nullptr && control->checked;
}

std::string DialogSession::Caption(int controlId) const {
  const SimUi::Control* control = ui_.FindControl(ui_.GetDlgItem(dialog_, controlId));
  return control == nullptr ? std::string() : std::string(control->source->caption);
}

std::vector<int> DialogSession::ControlIds() const {
  std::vector<int> ids;
  for (const SimUi::Control& control : ui_.FindDialog(dialog_)->controls) ids.push_back(control.source->id);
  return ids;
}

std::vector<MenuItemRecord> DialogSession::SystemMenu() const { return ui_.FindDialog(dialog_)->systemMenu; }

std::map<std::uintptr_t, IconHandle> DialogSession::Icons() const { return ui_.FindDialog(dialog_)->icons; }

void DialogSession::Click(int controlId) {
  SimUi::Dialog* dialog = ui_.FindDialog(dialog_);
  if (dialog->ended) return;
  SimUi::Control* clicked = ui_.FindControl(ui_.GetDlgItem(dialog_, controlId));
  if (clicked == nullptr) return;
  if (IsRadio(*clicked->source)) {
    // An automatic radio button clears the other radio buttons of its group.
    std::size_t groupStart = 0;
    std::size_t at = 0;
    for (; &dialog->controls[at] != clicked; ++at) {
      if (dialog->controls[at].source->extraStyle & kWsGroup) groupStart = at;
    }
    if (clicked->source->extraStyle & kWsGroup) groupStart = at;
    for (std::size_t other = groupStart; other < dialog->controls.size(); ++other) {
      if (other > groupStart && (dialog->controls[other].source->extraStyle & kWsGroup)) break;
      if (IsRadio(*dialog->controls[other].source)) dialog->controls[other].checked = false;
    }
    clicked->checked = true;
  } else if (clicked->source->kind == resources::ControlKind::AutoCheckBox) {
    clicked->checked = !clicked->checked;
  }
  ui_.Deliver(dialog_, kWmCommand, CommandParameter(controlId), static_cast<std::intptr_t>(clicked->handle));
}

void DialogSession::PressEnter() {
  if (!Ended()) ui_.Deliver(dialog_, kWmCommand, CommandParameter(kIdOk), 0);
}

void DialogSession::PressEscape() {
  if (!Ended()) ui_.Deliver(dialog_, kWmCommand, CommandParameter(kIdCancel), 0);
}

void DialogSession::PressCloseBox() { SysCommand(kScClose); }

void DialogSession::SysCommand(std::uintptr_t command) {
  if (!Ended()) ui_.Deliver(dialog_, kWmSysCommand, command, 0);
}

void DialogSession::MinimiseAndPaint() {
  if (Ended()) return;
  ui_.FindDialog(dialog_)->minimised = true;
  ui_.Deliver(dialog_, kWmPaint, 0, 0);
}

std::optional<std::intptr_t> DialogSession::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (Ended()) return std::nullopt;
  return ui_.FindDialog(dialog_)->procedure->HandleMessage(message, wParam, lParam);
}

// --- the window system ---

SimUi::Dialog* SimUi::FindDialog(WindowHandle handle) {
  auto found = dialogs_.find(handle);
  return found == dialogs_.end() ? nullptr : &found->second;
}

const SimUi::Dialog* SimUi::FindDialog(WindowHandle handle) const {
  auto found = dialogs_.find(handle);
  return found == dialogs_.end() ? nullptr : &found->second;
}

SimUi::Control* SimUi::FindControl(WindowHandle handle) {
  Dialog* dialog = OwnerOf(handle);
  if (dialog == nullptr) return nullptr;
  for (Control& control : dialog->controls) {
    if (control.handle == handle) return &control;
  }
  return nullptr;
}

SimUi::Dialog* SimUi::OwnerOf(WindowHandle control) {
  for (auto& [handle, dialog] : dialogs_) {
    if (control > handle && control <= handle + dialog.controls.size()) return &dialog;
  }
  return nullptr;
}

void SimUi::Deliver(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  Dialog* dialog = FindDialog(window);
  if (dialog == nullptr || dialog->ended) return;
  if (dialog->procedure->HandleMessage(message, wParam, lParam)) return;
  // The default dialog handling: the close box becomes WM_CLOSE, WM_CLOSE becomes the Cancel command.
  if (message == kWmSysCommand && (wParam & 0xFFF0) == kScClose) {
    Deliver(window, kWmClose, 0, 0);
  } else if (message == kWmClose) {
    Deliver(window, kWmCommand, CommandParameter(kIdCancel), 0);
  }
}

std::intptr_t SimUi::DialogBoxParamA(int templateId, WindowHandle, DialogProcedure& procedure) {
  const resources::DialogTemplate* source = resources::FindDialogTemplate(templateId);
  if (source == nullptr || dialogCreationFails) return -1;
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 0x100;
  Dialog& dialog = dialogs_[handle];
  dialog.templateId = templateId;
  dialog.procedure = &procedure;
  WindowHandle controlHandle = handle;
  for (const resources::ControlTemplate& control : source->controls)
    dialog.controls.push_back({++controlHandle, &control});

  procedure.InitDialog(handle);
  if (!dialog.ended) {
    dialogsShown.push_back(templateId);
    auto& queue = scripts_[templateId];
    if (!queue.empty()) {
      DialogScript script = std::move(queue.front());
      queue.pop_front();
      DialogSession session(*this, handle);
      script(session);
    }
    if (!dialog.ended) {  // nobody ended it: a real dialog would wait for ever
      ++unscriptedDialogs;
      dialog.result = -1;
    }
  }
  const std::intptr_t result = dialog.result;
  dialogs_.erase(handle);
  return result;
}

bool SimUi::EndDialog(WindowHandle window, std::intptr_t result) {
  Dialog* dialog = FindDialog(window);
  if (dialog == nullptr) return false;
  if (!dialog->ended) {
    dialog->ended = true;
    dialog->result = result;
  }
  return true;
}

WindowHandle SimUi::GetDlgItem(WindowHandle window, int controlId) {
  Dialog* dialog = FindDialog(window);
  if (dialog == nullptr) return kNoWindow;
  for (const Control& control : dialog->controls) {
    if (control.source->id == controlId) return control.handle;
  }
  return kNoWindow;
}

WindowHandle SimUi::GetNextSibling(WindowHandle window) {
  Dialog* dialog = OwnerOf(window);
  if (dialog == nullptr || FindControl(window + 1) == nullptr) return kNoWindow;
  return window + 1;
}

std::uint32_t SimUi::GetWindowStyle(WindowHandle window) {
  const Control* control = FindControl(window);
  return control == nullptr ? 0 : control->source->extraStyle;
}

std::intptr_t SimUi::SendMessageA(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
  if (Control* control = FindControl(window)) {
    switch (message) {
      case kWmGetDlgCode:
        return IsRadio(*control->source) ? kDlgcRadioButton : 0;
      case kBmGetCheck:
        return control->checked ? kBstChecked : kBstUnchecked;
      case kBmSetCheck:
        control->checked = wParam == kBstChecked;
        return 0;
      default:
        return 0;
    }
  }
  Dialog* dialog = FindDialog(window);
  if (dialog == nullptr) return 0;
  if (message == kWmSetIcon) {
    const IconHandle previous = dialog->icons[wParam];
    dialog->icons[wParam] = static_cast<IconHandle>(lParam);
    return static_cast<std::intptr_t>(previous);
  }
  if (message == kWmIconEraseBkgnd && painting_ == window && !paints.empty()) {
    paints.back().messagesSent.emplace_back(message, wParam);
    return 0;
  }
  Deliver(window, message, wParam, lParam);
  return 0;
}

bool SimUi::PostQuitMessage(int exitCode) {
  if (!quitCode) quitCode = exitCode;
  return true;
}

int SimUi::RunMessageLoop() {
  if (!quitCode) return -1;  // a real loop would wait for ever
  const int code = *quitCode;
  quitCode.reset();
  return code;
}

MenuHandle SimUi::GetSystemMenu(WindowHandle window, bool) {
  if (systemMenuMissing || FindDialog(window) == nullptr) return 0;
  return window;
}

bool SimUi::AppendMenuA(MenuHandle menu, std::uint32_t flags, std::uintptr_t itemId, const std::string& text) {
  Dialog* dialog = FindDialog(menu);
  if (dialog == nullptr) return false;
  dialog->systemMenu.push_back({flags, itemId, (flags & kMfSeparator) ? std::string() : text});
  return true;
}

std::string SimUi::LoadStringA(std::uint32_t stringId) {
  if (stringsMissing) return std::string();
  const std::string_view text = resources::FindString(stringId);
  return Utf8ToCodePageLossy(std::string(text), ansiCodePage ? *ansiCodePage : kCodePageWesternEuropean);
}

IconHandle SimUi::LoadIconA(int resourceId) { return loadIconFails || resourceId != 128 ? 0 : kProgramIcon; }

bool SimUi::IsIconic(WindowHandle window) {
  const Dialog* dialog = FindDialog(window);
  return dialog != nullptr && dialog->minimised;
}

bool SimUi::GetClientRect(WindowHandle window, Rect& rect) {
  if (FindDialog(window) == nullptr) return false;
  rect = Rect{0, 0, kClientWidth, kClientHeight};
  return true;
}

int SimUi::GetSystemMetrics(int index) { return index == kSmCxIcon || index == kSmCyIcon ? kIconMetric : 0; }

DeviceContext SimUi::BeginPaint(WindowHandle window) {
  painting_ = window;
  paints.push_back(PaintRecord{window, {}, 0, 0, 0});
  return window | kPaintContextBit;
}

void SimUi::EndPaint(WindowHandle window) {
  if (painting_ == window) painting_ = kNoWindow;
}

bool SimUi::DrawIcon(DeviceContext context, int x, int y, IconHandle icon) {
  if (paints.empty() || (context & ~kPaintContextBit) != paints.back().window) return false;
  paints.back().iconX = x;
  paints.back().iconY = y;
  paints.back().icon = icon;
  return true;
}

int SimUi::MessageBoxA(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t type) {
  messageBoxes.push_back({owner, text, caption, type});
  if (onMessageBox) onMessageBox(messageBoxes.back());
  return kIdOk;
}

}  // namespace platform::sim
