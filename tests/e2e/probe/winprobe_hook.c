/* winprobe_hook.dll: loaded by Windows into the threads that winprobe hooks (see winprobe_hook.h).
 * It only reads window state and reports it; it changes nothing in the hooked program. */
#include "winprobe_hook.h"

enum { ANSWER_TIMEOUT_MS = 5000 };

static UINT request_message(void) {
  static UINT message;
  if (message == 0) message = RegisterWindowMessageW(WINPROBE_REQUEST);
  return message;
}

static int read_system_menu(HWND window, MenuItemRecord* items, int capacity) {
  HMENU menu = GetSystemMenu(window, FALSE);
  int count = menu ? GetMenuItemCount(menu) : 0;
  if (count < 0) count = 0;
  if (count > capacity) count = capacity;
  for (int position = 0; position < count; position++) {
    MenuItemRecord* item = &items[position];
    MENUITEMINFOW info;
    ZeroMemory(&info, sizeof info);
    ZeroMemory(item, sizeof *item);
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = item->text;
    info.cch = WINPROBE_MENU_TEXT_CHARS;
    if (GetMenuItemInfoW(menu, position, TRUE, &info)) {
      item->id = info.wID;
      item->type = info.fType;
      item->state = info.fState;
    }
  }
  return count;
}

static void answer_request(const MSG* request) {
  MenuItemRecord items[WINPROBE_MAX_MENU_ITEMS];
  int count = 0;
  if (request->lParam == WINPROBE_REQUEST_SYSTEM_MENU)
    count = read_system_menu(request->hwnd, items, WINPROBE_MAX_MENU_ITEMS);
  COPYDATASTRUCT answer;
  answer.dwData = WINPROBE_ANSWER;
  answer.cbData = (DWORD)(count * sizeof(MenuItemRecord));
  answer.lpData = items;
  SendMessageTimeoutW((HWND)request->wParam, WM_COPYDATA, (WPARAM)request->hwnd, (LPARAM)&answer, SMTO_ABORTIFHUNG,
                      ANSWER_TIMEOUT_MS, NULL);
}

__declspec(dllexport) LRESULT CALLBACK winprobe_getmessage_hook(int code, WPARAM removal, LPARAM message) {
  const MSG* msg = (const MSG*)message;
  if (code == HC_ACTION && removal == PM_REMOVE && msg->message == request_message()) answer_request(msg);
  return CallNextHookEx(NULL, code, removal, message);
}

static void report_window_event(HWND window, BOOL shown) {
  HWND watcher = FindWindowExW(HWND_MESSAGE, NULL, WINPROBE_WATCH_CLASS, NULL);
  if (!watcher) return;
  WindowEventRecord record;
  ZeroMemory(&record, sizeof record);
  record.shown = shown ? 1 : 0;
  record.hwnd = (UINT)(UINT_PTR)window;
  record.owner = (UINT)(UINT_PTR)GetWindow(window, GW_OWNER);
  record.process_id = GetCurrentProcessId();
  GetWindowTextW(window, record.title, WINPROBE_TITLE_CHARS);
  GetClassNameW(window, record.class_name, WINPROBE_CLASS_CHARS);
  COPYDATASTRUCT report;
  report.dwData = WINPROBE_WINDOW_EVENT;
  report.cbData = sizeof record;
  report.lpData = &record;
  SendMessageTimeoutW(watcher, WM_COPYDATA, (WPARAM)window, (LPARAM)&report, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS, NULL);
}

/* Every show and hide of a window, by ShowWindow or SetWindowPos, ends in WM_WINDOWPOSCHANGED with
 * SWP_SHOWWINDOW or SWP_HIDEWINDOW. */
__declspec(dllexport) LRESULT CALLBACK winprobe_callwndproc_hook(int code, WPARAM sender, LPARAM message) {
  const CWPSTRUCT* call = (const CWPSTRUCT*)message;
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
      GetAncestor(call->hwnd, GA_PARENT) == GetDesktopWindow()) {
    UINT flags = ((const WINDOWPOS*)call->lParam)->flags;
    if (flags & SWP_SHOWWINDOW) report_window_event(call->hwnd, TRUE);
    if (flags & SWP_HIDEWINDOW) report_window_event(call->hwnd, FALSE);
  }
  return CallNextHookEx(NULL, code, sender, message);
}
