// The program's entry point on Windows: the real backends, then the application's start-up sequence.
#include <windows.h>

#include "app/CalvantApp.h"
#include "platform/Backends.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Modules.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Setup.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Ui.h"

// The application object: constructed before WinMain, as the start-up sequence expects.
CCalvantApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::RestrictDllSearchToSystemDirectory();
  platform::win32::Win32System system;
  platform::win32::Win32Ui ui;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Modules modules;
  platform::win32::Win32Files files;
  platform::win32::Win32Shell shell;
  platform::win32::Win32Setup setup;
  platform::win32::Win32Services services;
  platform::ScopedBackends backends({&system, &ui, &registry, &modules, &files, &shell, &setup, &services});
  return framework::RunApplication(theApp);
}
