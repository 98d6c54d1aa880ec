/* winprobe: looks at and drives the top-level windows of a program that runs in the same Wine prefix
 * (the same wineserver), for the end-to-end tests.
 *
 *   winprobe windows    [SELECTOR]                 list the visible top-level windows that match
 *   winprobe watch                                 report each top-level window shown or hidden, in any
 *                                                  process, until standard input ends
 *   winprobe wait       SELECTOR [--timeout MS]    wait until one is visible, then print it
 *   winprobe gone       SELECTOR [--timeout MS]    wait until none is visible
 *   winprobe controls   SELECTOR                   list the window's controls, once the messages
 *                                                  posted to it before have been handled
 *   winprobe sysmenu    SELECTOR                   list the window's system-menu items
 *   winprobe msgbox     SELECTOR                   print a message box's caption and text
 *   winprobe click      SELECTOR ID                press button ID (posts BM_CLICK)
 *   winprobe syscommand SELECTOR COMMAND           post WM_SYSCOMMAND, e.g. 0x10 or 0xF060 (SC_CLOSE)
 *   winprobe key        SELECTOR KEY               press escape, enter or alt+f4 in the window
 *   winprobe codepage                              print the ANSI and OEM code pages of this process
 *
 * SELECTOR: --title TEXT (exact), --owned or --unowned, --hwnd HANDLE; all given must hold, and only
 * visible top-level windows match. Numbers may be decimal or 0x-hexadecimal. --timeout (default 10 s)
 * bounds wait, gone, and the requests of controls and sysmenu.
 *
 * Output: one JSON object per line, UTF-8. Exit status: 0 done, 1 no matching window (or timed out),
 * 2 bad usage, 3 the operation failed.
 *
 * Only posted messages drive the program: a handler that opens a modal box never blocks winprobe. */
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

#include "winprobe_hook.h"

enum { EXIT_DONE = 0, EXIT_NO_WINDOW = 1, EXIT_USAGE = 2, EXIT_FAILED = 3 };
enum { OWNER_ANY, OWNER_NONE, OWNER_SOME };
enum { POLL_INTERVAL_MS = 50, DEFAULT_TIMEOUT_MS = 10000, SEND_TIMEOUT_MS = 2000 };

typedef struct Selector {
  const WCHAR* title;
  int owner;
  HWND hwnd;
} Selector;

/* ---- output ---- */

static char out_buffer[16384];
static size_t out_length;

static void out_flush(void) {
  DWORD written;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out_buffer, (DWORD)out_length, &written, NULL);
  out_length = 0;
}

static void out_bytes(const char* bytes, size_t count) {
  if (out_length + count > sizeof out_buffer) out_flush();
  if (count > sizeof out_buffer) count = sizeof out_buffer;
  memcpy(out_buffer + out_length, bytes, count);
  out_length += count;
}

static void out_text(const char* text) { out_bytes(text, strlen(text)); }

static void out_number(const char* key, long long value) {
  char field[64];
  wsprintfA(field, "\"%s\":%I64d", key, value);
  out_text(field);
}

/* Writes "key":"value" with the value as UTF-8 and JSON escapes. */
static void out_string(const char* key, const WCHAR* value) {
  char utf8[4096];
  int length = WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof utf8, NULL, NULL);
  if (length <= 0) utf8[0] = '\0';
  out_text("\"");
  out_text(key);
  out_text("\":\"");
  for (const unsigned char* c = (const unsigned char*)utf8; *c; c++) {
    if (*c == '"' || *c == '\\') {
      char escaped[2] = {'\\', (char)*c};
      out_bytes(escaped, 2);
    } else if (*c < 0x20) {
      char escaped[8];
      wsprintfA(escaped, "\\u%04x", *c);
      out_text(escaped);
    } else {
      out_bytes((const char*)c, 1);
    }
  }
  out_text("\"");
}

static void out_error(const char* message) {
  DWORD written;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, (DWORD)strlen(message), &written, NULL);
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), "\n", 1, &written, NULL);
}

static void out_window(HWND window) {
  WCHAR title[512], class_name[256];
  GetWindowTextW(window, title, ARRAYSIZE(title));
  GetClassNameW(window, class_name, ARRAYSIZE(class_name));
  out_text("{");
  out_number("hwnd", (long long)(UINT_PTR)window);
  out_text(",");
  out_string("title", title);
  out_text(",");
  out_string("class", class_name);
  out_text(",");
  out_number("owner", (long long)(UINT_PTR)GetWindow(window, GW_OWNER));
  out_text(",");
  out_number("style", (DWORD)GetWindowLongW(window, GWL_STYLE));
  out_text(",");
  out_number("exstyle", (DWORD)GetWindowLongW(window, GWL_EXSTYLE));
  out_text("}\n");
}

/* ---- finding windows ---- */

static BOOL matches(const Selector* selector, HWND window) {
  if (!IsWindowVisible(window)) return FALSE;
  if (selector->hwnd && window != selector->hwnd) return FALSE;
  HWND owner = GetWindow(window, GW_OWNER);
  if (selector->owner == OWNER_NONE && owner) return FALSE;
  if (selector->owner == OWNER_SOME && !owner) return FALSE;
  if (selector->title) {
    WCHAR title[512];
    GetWindowTextW(window, title, ARRAYSIZE(title));
    if (wcscmp(title, selector->title) != 0) return FALSE;
  }
  return TRUE;
}

typedef struct Search {
  const Selector* selector;
  HWND found[64];
  int count;
} Search;

static BOOL CALLBACK collect_match(HWND window, LPARAM context) {
  Search* search = (Search*)context;
  if (matches(search->selector, window) && search->count < (int)ARRAYSIZE(search->found))
    search->found[search->count++] = window;
  return TRUE;
}

static void find_windows(const Selector* selector, Search* search) {
  search->selector = selector;
  search->count = 0;
  EnumWindows(collect_match, (LPARAM)search);
}

static HWND find_window(const Selector* selector) {
  Search search;
  find_windows(selector, &search);
  return search.count > 0 ? search.found[0] : NULL;
}

/* Polls until a matching window is visible (want_present) or none is; returns the last match. */
static BOOL wait_for(const Selector* selector, BOOL want_present, DWORD timeout_ms, HWND* match) {
  DWORD start = GetTickCount();
  for (;;) {
    *match = find_window(selector);
    if ((*match != NULL) == want_present) return TRUE;
    if (GetTickCount() - start >= timeout_ms) return FALSE;
    Sleep(POLL_INTERVAL_MS);
  }
}

/* ---- commands that find windows ---- */

static int command_windows(const Selector* selector) {
  Search search;
  find_windows(selector, &search);
  for (int i = 0; i < search.count; i++) out_window(search.found[i]);
  return EXIT_DONE;
}

static int command_wait(const Selector* selector, DWORD timeout_ms) {
  HWND window;
  if (!wait_for(selector, TRUE, timeout_ms, &window)) {
    out_error("winprobe: no matching window appeared");
    return EXIT_NO_WINDOW;
  }
  out_window(window);
  return EXIT_DONE;
}

static int command_gone(const Selector* selector, DWORD timeout_ms) {
  HWND window;
  if (!wait_for(selector, FALSE, timeout_ms, &window)) {
    out_error("winprobe: a matching window is still visible");
    out_window(window);
    return EXIT_NO_WINDOW;
  }
  return EXIT_DONE;
}

/* ---- requests answered inside the window's own process (see winprobe_hook.h) ---- */

typedef struct ThreadAnswer {
  MenuItemRecord items[WINPROBE_MAX_MENU_ITEMS];
  int count;
  BOOL received;
} ThreadAnswer;

static LRESULT CALLBACK answer_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)lparam;
    ThreadAnswer* answer = (ThreadAnswer*)GetWindowLongPtrW(window, GWLP_USERDATA);
    if (data->dwData != WINPROBE_ANSWER || data->cbData > sizeof answer->items) return FALSE;
    if (data->cbData > 0) memcpy(answer->items, data->lpData, data->cbData);
    answer->count = (int)(data->cbData / sizeof(MenuItemRecord));
    answer->received = TRUE;
    return TRUE;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

static HWND create_message_window(const WCHAR* class_name, WNDPROC procedure, void* data) {
  WNDCLASSW window_class;
  ZeroMemory(&window_class, sizeof window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(NULL);
  window_class.lpszClassName = class_name;
  RegisterClassW(&window_class);
  HWND window = CreateWindowW(class_name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)data);
  return window;
}

/* winprobe_hook.dll lies beside winprobe.exe; returns the named hook procedure, or NULL. */
static HOOKPROC load_hook_procedure(const char* name, HMODULE* library) {
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(NULL, path, ARRAYSIZE(path));
  if (length == 0 || length >= ARRAYSIZE(path)) return NULL;
  WCHAR* file_name = wcsrchr(path, L'\\');
  file_name = file_name ? file_name + 1 : path;
  if ((size_t)(file_name - path) + wcslen(L"winprobe_hook.dll") >= ARRAYSIZE(path)) return NULL;
  wcscpy(file_name, L"winprobe_hook.dll");
  *library = LoadLibraryW(path);
  if (!*library) {
    out_error("winprobe: cannot load winprobe_hook.dll beside winprobe.exe");
    return NULL;
  }
  return (HOOKPROC)(void*)GetProcAddress(*library, name);
}

static BOOL wait_for_answer(const ThreadAnswer* answer, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (!answer->received && GetTickCount() - start < timeout_ms) {
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (!answer->received) MsgWaitForMultipleObjects(0, NULL, FALSE, POLL_INTERVAL_MS, QS_ALLINPUT);
  }
  return answer->received;
}

/* Posts a request to the window and waits until its thread has taken it from the queue and answered. */
static BOOL ask_window_thread(HWND window, LPARAM request, DWORD timeout_ms, ThreadAnswer* answer) {
  HMODULE library;
  HOOKPROC hook_proc = load_hook_procedure(WINPROBE_REQUEST_HOOK_NAME, &library);
  HWND answer_window = create_message_window(L"winprobe.answer", answer_window_proc, answer);
  if (!hook_proc || !answer_window) return FALSE;
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, hook_proc, library, GetWindowThreadProcessId(window, NULL));
  if (!hook) {
    out_error("winprobe: SetWindowsHookExW failed");
    return FALSE;
  }
  PostMessageW(window, RegisterWindowMessageW(WINPROBE_REQUEST), (WPARAM)answer_window, request);
  BOOL received = wait_for_answer(answer, timeout_ms);
  UnhookWindowsHookEx(hook);
  DestroyWindow(answer_window);
  if (!received) out_error("winprobe: the window's thread did not take the request (busy or hung)");
  return received;
}

/* ---- commands on one window ---- */

static BOOL CALLBACK print_control(HWND control, LPARAM unused) {
  (void)unused;
  WCHAR text[1024], class_name[256];
  GetWindowTextW(control, text, ARRAYSIZE(text));
  GetClassNameW(control, class_name, ARRAYSIZE(class_name));
  out_text("{");
  out_number("id", (int)GetWindowLongW(control, GWL_ID));
  out_text(",");
  out_string("class", class_name);
  out_text(",");
  out_string("text", text);
  out_text(",");
  out_number("style", (DWORD)GetWindowLongW(control, GWL_STYLE));
  out_text(",");
  out_number("visible", IsWindowVisible(control) ? 1 : 0);
  out_text(",");
  out_number("enabled", IsWindowEnabled(control) ? 1 : 0);
  if (_wcsicmp(class_name, L"Button") == 0) {
    DWORD_PTR check = 0;
    out_text(",");
    if (SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &check))
      out_number("check", (long long)check);
    else
      out_text("\"check\":null");
  }
  out_text("}\n");
  return TRUE;
}

/* Lists the controls once the messages posted to the window before (clicks, keys) have been handled. */
static int command_controls(HWND window, DWORD timeout_ms) {
  static ThreadAnswer answer;
  if (!ask_window_thread(window, WINPROBE_REQUEST_SYNC, timeout_ms, &answer)) return EXIT_FAILED;
  EnumChildWindows(window, print_control, 0);
  return EXIT_DONE;
}

static int command_sysmenu(HWND window, DWORD timeout_ms) {
  static ThreadAnswer answer;
  if (!ask_window_thread(window, WINPROBE_REQUEST_SYSTEM_MENU, timeout_ms, &answer)) return EXIT_FAILED;
  for (int position = 0; position < answer.count; position++) {
    const MenuItemRecord* item = &answer.items[position];
    out_text("{");
    out_number("position", position);
    out_text(",");
    out_number("id", item->id);
    out_text(",");
    out_number("separator", (item->type & MFT_SEPARATOR) ? 1 : 0);
    out_text(",");
    out_number("grayed", (item->state & MFS_GRAYED) ? 1 : 0);
    out_text(",");
    out_string("text", item->text);
    out_text("}\n");
  }
  return EXIT_DONE;
}

/* A message box shows its text in a static control with id 0xFFFF (on Windows and in Wine). */
static HWND message_text_control(HWND window) {
  HWND control = GetDlgItem(window, 0xFFFF);
  WCHAR class_name[64];
  if (!control || !GetClassNameW(control, class_name, ARRAYSIZE(class_name))) return NULL;
  return _wcsicmp(class_name, L"Static") == 0 ? control : NULL;
}

static int command_msgbox(HWND window) {
  HWND text_control = message_text_control(window);
  if (!text_control) {
    out_error("winprobe: the window has no text control, it is not a message box");
    return EXIT_FAILED;
  }
  WCHAR caption[512], text[4096];
  GetWindowTextW(window, caption, ARRAYSIZE(caption));
  GetWindowTextW(text_control, text, ARRAYSIZE(text));
  out_text("{");
  out_number("hwnd", (long long)(UINT_PTR)window);
  out_text(",");
  out_string("caption", caption);
  out_text(",");
  out_string("text", text);
  out_text("}\n");
  return EXIT_DONE;
}

/* BM_CLICK makes the button behave as under a mouse click: an automatic check box or radio button
 * changes its state, then the dialog gets WM_COMMAND with BN_CLICKED. */
static int command_click(HWND window, int id) {
  HWND button = GetDlgItem(window, id);
  if (!button) {
    out_error("winprobe: the window has no control with that id");
    return EXIT_FAILED;
  }
  return PostMessageW(button, BM_CLICK, 0, 0) ? EXIT_DONE : EXIT_FAILED;
}

static int command_syscommand(HWND window, UINT command) {
  return PostMessageW(window, WM_SYSCOMMAND, command, 0) ? EXIT_DONE : EXIT_FAILED;
}

/* The keyboard focus of the window's thread (a control of the dialog), else the window itself. */
static HWND focus_of(HWND window) {
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) && info.hwndFocus) return info.hwndFocus;
  return window;
}

/* Posts a key press to the focused control as the keyboard would deliver it, so that the dialog
 * manager (IsDialogMessage) or DefWindowProc handles it. */
static BOOL post_key(HWND target, UINT virtual_key, BOOL with_alt) {
  LPARAM scan = (LPARAM)MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC) << 16;
  LPARAM alt = with_alt ? KF_ALTDOWN << 16 : 0;
  UINT down = with_alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
  UINT up = with_alt ? WM_SYSKEYUP : WM_KEYUP;
  return PostMessageW(target, down, virtual_key, 1 | scan | alt) &&
         PostMessageW(target, up, virtual_key, 1 | scan | alt | (LPARAM)0xC0000000u);
}

static int command_key(HWND window, const WCHAR* key) {
  HWND target = focus_of(window);
  BOOL posted;
  if (wcscmp(key, L"escape") == 0)
    posted = post_key(target, VK_ESCAPE, FALSE);
  else if (wcscmp(key, L"enter") == 0)
    posted = post_key(target, VK_RETURN, FALSE);
  else if (wcscmp(key, L"alt+f4") == 0)
    posted = post_key(target, VK_F4, TRUE);
  else {
    out_error("winprobe: keys are escape, enter and alt+f4");
    return EXIT_USAGE;
  }
  return posted ? EXIT_DONE : EXIT_FAILED;
}

/* ---- commands without a window ---- */

static LRESULT CALLBACK watch_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COPYDATA) {
    const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)lparam;
    if (data->dwData != WINPROBE_WINDOW_EVENT || data->cbData != sizeof(WindowEventRecord)) return FALSE;
    const WindowEventRecord* record = (const WindowEventRecord*)data->lpData;
    out_text(record->shown ? "{\"event\":\"show\"," : "{\"event\":\"hide\",");
    out_number("hwnd", record->hwnd);
    out_text(",");
    out_number("owner", record->owner);
    out_text(",");
    out_number("pid", record->process_id);
    out_text(",");
    out_string("title", record->title);
    out_text(",");
    out_string("class", record->class_name);
    out_text("}\n");
    out_flush();
    return TRUE;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

/* Ends the watch when standard input reaches its end (the caller closes the pipe). */
static DWORD WINAPI quit_at_end_of_input(void* main_thread) {
  char buffer[256];
  DWORD count;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &count, NULL) && count > 0) continue;
  PostThreadMessageW((DWORD)(UINT_PTR)main_thread, WM_QUIT, 0, 0);
  return 0;
}

/* Reports every top-level window of any process that is shown or hidden, until standard input ends. */
static int command_watch(void) {
  HMODULE library;
  HOOKPROC hook_proc = load_hook_procedure(WINPROBE_WATCH_HOOK_NAME, &library);
  HWND watch_window = create_message_window(WINPROBE_WATCH_CLASS, watch_window_proc, NULL);
  if (!hook_proc || !watch_window) return EXIT_FAILED;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, hook_proc, library, 0);
  if (!hook) {
    out_error("winprobe: SetWindowsHookExW failed");
    return EXIT_FAILED;
  }
  MSG msg;
  PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE); /* the thread's queue exists before the reader posts to it */
  HANDLE reader = CreateThread(NULL, 0, quit_at_end_of_input, (void*)(UINT_PTR)GetCurrentThreadId(), 0, NULL);
  if (!reader) {
    UnhookWindowsHookEx(hook);
    return EXIT_FAILED;
  }
  out_text("{\"event\":\"ready\"}\n");
  out_flush();
  while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
  UnhookWindowsHookEx(hook);
  CloseHandle(reader);
  return EXIT_DONE;
}

static int command_codepage(void) {
  out_text("{");
  out_number("ansi", GetACP());
  out_text(",");
  out_number("oem", GetOEMCP());
  out_text("}\n");
  return EXIT_DONE;
}

/* ---- command line ---- */

static BOOL parse_number(const WCHAR* text, unsigned long* value) {
  WCHAR* end;
  if (!text || !*text) return FALSE;
  *value = wcstoul(text, &end, 0);
  return *end == L'\0';
}

/* Takes the selector and --timeout options out of argv; the rest stays in order in *rest. */
static BOOL parse_options(int argc, WCHAR** argv, Selector* selector, DWORD* timeout_ms, WCHAR** rest,
                          int* rest_count) {
  *rest_count = 0;
  for (int i = 0; i < argc; i++) {
    const WCHAR* option = argv[i];
    BOOL has_value = i + 1 < argc;
    unsigned long number;
    if (wcscmp(option, L"--title") == 0 && has_value)
      selector->title = argv[++i];
    else if (wcscmp(option, L"--hwnd") == 0 && has_value && parse_number(argv[i + 1], &number))
      selector->hwnd = (HWND)(UINT_PTR)number, i++;
    else if (wcscmp(option, L"--timeout") == 0 && has_value && parse_number(argv[i + 1], &number))
      *timeout_ms = number, i++;
    else if (wcscmp(option, L"--owned") == 0)
      selector->owner = OWNER_SOME;
    else if (wcscmp(option, L"--unowned") == 0)
      selector->owner = OWNER_NONE;
    else if (wcsncmp(option, L"--", 2) == 0)
      return FALSE;
    else
      rest[(*rest_count)++] = argv[i];
  }
  return TRUE;
}

static int usage(void) {
  out_error(
      "usage: winprobe windows|watch|codepage|wait|gone|controls|sysmenu|msgbox\n"
      "       winprobe click ID|syscommand COMMAND|key KEY\n"
      "       [--title TEXT] [--owned|--unowned] [--hwnd HANDLE] [--timeout MS]");
  return EXIT_USAGE;
}

static int run_on_window(const WCHAR* command, const Selector* selector, DWORD timeout_ms, WCHAR** rest,
                         int rest_count) {
  HWND window = find_window(selector);
  if (!window) {
    out_error("winprobe: no matching window");
    return EXIT_NO_WINDOW;
  }
  unsigned long number;
  if (wcscmp(command, L"controls") == 0 && rest_count == 0) return command_controls(window, timeout_ms);
  if (wcscmp(command, L"sysmenu") == 0 && rest_count == 0) return command_sysmenu(window, timeout_ms);
  if (wcscmp(command, L"msgbox") == 0 && rest_count == 0) return command_msgbox(window);
  if (wcscmp(command, L"click") == 0 && rest_count == 1 && parse_number(rest[0], &number))
    return command_click(window, (int)number);
  if (wcscmp(command, L"syscommand") == 0 && rest_count == 1 && parse_number(rest[0], &number))
    return command_syscommand(window, (UINT)number);
  if (wcscmp(command, L"key") == 0 && rest_count == 1) return command_key(window, rest[0]);
  return usage();
}

static int run(int argc, WCHAR** argv) {
  if (argc < 2) return usage();
  const WCHAR* command = argv[1];
  Selector selector = {NULL, OWNER_ANY, NULL};
  DWORD timeout_ms = DEFAULT_TIMEOUT_MS;
  WCHAR** rest = (WCHAR**)calloc((size_t)argc, sizeof *rest);
  int rest_count;
  if (!rest || !parse_options(argc - 2, argv + 2, &selector, &timeout_ms, rest, &rest_count)) return usage();
  BOOL has_selector = selector.title || selector.hwnd || selector.owner != OWNER_ANY;
  if (wcscmp(command, L"windows") == 0 && rest_count == 0) return command_windows(&selector);
  if (wcscmp(command, L"watch") == 0 && rest_count == 0 && !has_selector) return command_watch();
  if (wcscmp(command, L"codepage") == 0 && rest_count == 0 && !has_selector) return command_codepage();
  if (!has_selector) return usage();
  if (wcscmp(command, L"wait") == 0 && rest_count == 0) return command_wait(&selector, timeout_ms);
  if (wcscmp(command, L"gone") == 0 && rest_count == 0) return command_gone(&selector, timeout_ms);
  return run_on_window(command, &selector, timeout_ms, rest, rest_count);
}

int wmain(int argc, WCHAR** argv) {
  int status = run(argc, argv);
  out_flush();
  return status;
}
