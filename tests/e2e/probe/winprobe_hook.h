/* What winprobe and its hook library share: messages, window class names and records.
 *
 * Some facts about a window can only be learnt inside the process that owns it. winprobe gets them
 * through winprobe_hook.dll, which Windows loads into the threads that winprobe hooks:
 * - requests posted to a window (WH_GETMESSAGE hook on the window's thread): the answer to a request
 *   comes when the thread takes it from its queue, that is after every message posted before it
 *   (a button click, a key press) has been handled. "sync" requests nothing more; "system menu" also
 *   reads the menu, which Wine keeps in the memory of its process, so that GetSystemMenu and
 *   GetMenuItemInfoW fail for another process's window.
 * - each moment a top-level window is shown or hidden (global WH_CALLWNDPROC hook): Wine raises no
 *   EVENT_OBJECT_SHOW win event, and polling misses a window that is visible for a moment only.
 * The library answers with WM_COPYDATA to a message-only window of winprobe. */
#ifndef WINPROBE_HOOK_H
#define WINPROBE_HOOK_H

#include <windows.h>

/* Registered message posted to a window: WPARAM is the window that gets the WM_COPYDATA answer,
 * LPARAM what is asked. */
#define WINPROBE_REQUEST L"winprobe.request"
#define WINPROBE_REQUEST_SYNC 0
#define WINPROBE_REQUEST_SYSTEM_MENU 1

/* dwData of the answer; its data is an array of MenuItemRecord (empty for a sync request). */
#define WINPROBE_ANSWER 0x414E5357u

#define WINPROBE_MENU_TEXT_CHARS 128
#define WINPROBE_MAX_MENU_ITEMS 64

typedef struct MenuItemRecord {
  UINT id;    /* wID: the command identifier (0 for separators and submenus) */
  UINT type;  /* fType: MFT_SEPARATOR, MFT_STRING, ... */
  UINT state; /* fState: MFS_GRAYED, MFS_CHECKED, MFS_DEFAULT, ... */
  WCHAR text[WINPROBE_MENU_TEXT_CHARS];
} MenuItemRecord;

/* The message-only window of "winprobe watch", to which the library reports shown and hidden windows;
 * dwData of each report, whose data is one WindowEventRecord. */
#define WINPROBE_WATCH_CLASS L"winprobe.watch"
#define WINPROBE_WINDOW_EVENT 0x57494E44u

#define WINPROBE_TITLE_CHARS 256
#define WINPROBE_CLASS_CHARS 64

typedef struct WindowEventRecord {
  UINT shown; /* 1 shown, 0 hidden */
  UINT hwnd;  /* window handles are 32-bit values in every process */
  UINT owner;
  DWORD process_id;
  WCHAR title[WINPROBE_TITLE_CHARS];
  WCHAR class_name[WINPROBE_CLASS_CHARS];
} WindowEventRecord;

/* Exported (undecorated) by winprobe_hook.dll. */
#define WINPROBE_REQUEST_HOOK_NAME "winprobe_getmessage_hook"
#define WINPROBE_WATCH_HOOK_NAME "winprobe_callwndproc_hook"

#endif
