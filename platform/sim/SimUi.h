// The simulated host's window system: modal dialogs built from the program's templates, their controls,
// the system menu, icons, painting and message boxes. A test drives each dialog through a script that
// runs while the dialog waits for input, as a person at the screen would.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/UiApi.h"
#include "resources/DialogTemplates.h"

namespace platform::sim {

class SimUi;

struct MessageBoxRecord {
  WindowHandle owner;
  std::string text;  // the bytes as passed, in the code page of the caller
  std::string caption;
  std::uint32_t type;
};

struct MenuItemRecord {
  std::uint32_t flags;
  std::uintptr_t id;
  std::string text;
};

// One dialog while it waits for input: what a person sees and can do.
class DialogSession {
 public:
  DialogSession(SimUi& ui, WindowHandle dialog) : ui_(ui), dialog_(dialog) {}

  WindowHandle Window() const { return dialog_; }
  int TemplateId() const;
  bool Ended() const;
  bool IsChecked(int controlId) const;
  std::string Caption(int controlId) const;
  std::vector<int> ControlIds() const;
  std::vector<MenuItemRecord> SystemMenu() const;
  std::map<std::uintptr_t, IconHandle> Icons() const;

  // A click on a control: automatic radio buttons and check boxes change state, then the dialog is told.
  void Click(int controlId);
  void PressEnter();   // the default button's command
  void PressEscape();  // the Cancel command
  void PressCloseBox();
  void SysCommand(std::uintptr_t command);
  // Minimises the window and has it paint itself (SimUi::paints records what was drawn).
  void MinimiseAndPaint();
  // Sends a message straight to the dialog's procedure: its answer, empty when it left the message to
  // the default handling.
  std::optional<std::intptr_t> Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

 private:
  SimUi& ui_;
  WindowHandle dialog_;
};

using DialogScript = std::function<void(DialogSession&)>;

struct PaintRecord {
  WindowHandle window;
  std::vector<std::pair<std::uint32_t, std::uintptr_t>> messagesSent;  // during the paint
  int iconX = 0;
  int iconY = 0;
  IconHandle icon = 0;
};

class SimUi : public UiApi {
 public:
  static constexpr IconHandle kProgramIcon = 0x1C0;
  static constexpr int kClientWidth = 400;
  static constexpr int kClientHeight = 249;
  static constexpr int kIconMetric = 32;

  // Scripts for the next dialogs of each template, used in order. A dialog that waits with no script left
  // ends with -1 and is counted in unscriptedDialogs.
  void Script(int templateId, DialogScript script) { scripts_[templateId].push_back(std::move(script)); }

  std::vector<MessageBoxRecord> messageBoxes;
  // Called while each message box is up, as the person reads it.
  std::function<void(const MessageBoxRecord&)> onMessageBox;
  std::vector<int> dialogsShown;  // template ids of dialogs that waited for input
  std::vector<PaintRecord> paints;
  int unscriptedDialogs = 0;
  std::optional<int> quitCode;
  bool loadIconFails = false;
  bool dialogCreationFails = false;
  bool systemMenuMissing = false;
  bool stringsMissing = false;
  // The ANSI code page string resources are handed out in (the host's).
  const std::uint32_t* ansiCodePage = nullptr;

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
  friend class DialogSession;

  struct Control {
    WindowHandle handle;
    const resources::ControlTemplate* source;
    bool checked = false;
  };
  struct Dialog {
    int templateId;
    DialogProcedure* procedure;
    std::vector<Control> controls;
    std::vector<MenuItemRecord> systemMenu;
    std::map<std::uintptr_t, IconHandle> icons;
    bool ended = false;
    bool minimised = false;
    std::intptr_t result = 0;
  };

  Dialog* FindDialog(WindowHandle handle);
  const Dialog* FindDialog(WindowHandle handle) const;
  Control* FindControl(WindowHandle handle);
  Dialog* OwnerOf(WindowHandle control);
  // Sends a message to a dialog's procedure and applies the default dialog handling when it declines.
  void Deliver(WindowHandle dialog, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  std::map<int, std::deque<DialogScript>> scripts_;
  std::map<WindowHandle, Dialog> dialogs_;
  WindowHandle nextHandle_ = 0x10000;
  WindowHandle painting_ = kNoWindow;
};

}  // namespace platform::sim
