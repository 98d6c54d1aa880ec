#include "platform/win32/Win32Modules.h"

#include <windows.h>

#include <string>

namespace platform::win32 {
namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
using DisableRedirectionFunction = BOOL(WINAPI*)(PVOID*);
using RevertRedirectionFunction = BOOL(WINAPI*)(PVOID);
using RegisterServerFunction = HRESULT(STDAPICALLTYPE*)();

// An entry point found by name, as the function type it has.
template <typename Function>
Function As(ProcAddress entry) {
  return reinterpret_cast<Function>(entry);
}

// "X:\..." or "\\server\share\...": the forms the search flags for a library's own folder accept.
bool IsFullPath(const std::string& path) {
  const bool driveRooted = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool unc = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
  return driveRooted || unc;
}

}  // namespace

ModuleHandle Win32Modules::GetModuleHandleA(const std::string& name) {
  return reinterpret_cast<ModuleHandle>(::GetModuleHandleA(name.c_str()));
}

ProcAddress Win32Modules::GetProcAddress(ModuleHandle module, const std::string& name) {
  if (module == 0) return 0;
  return reinterpret_cast<ProcAddress>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str()));
}

ModuleHandle Win32Modules::LoadLibraryA(const std::string& path) {
  // A library given by its full path (the control in the package) finds the libraries it needs in its own
  // folder, then in the system directory; never in the program's folder or the current directory. Windows
  // without these search flags refuses them: there its own folder is searched first instead.
  if (IsFullPath(path)) {
    HMODULE module =
        ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
      module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return reinterpret_cast<ModuleHandle>(module);
  }
  return reinterpret_cast<ModuleHandle>(::LoadLibraryA(path.c_str()));
}

bool Win32Modules::FreeLibrary(ModuleHandle module) { return ::FreeLibrary(reinterpret_cast<HMODULE>(module)) != 0; }

bool Win32Modules::CallIsWow64Process(ProcAddress entry, std::int32_t& isWow64) {
  BOOL answer = FALSE;
  const BOOL succeeded = As<IsWow64ProcessFunction>(entry)(::GetCurrentProcess(), &answer);
  isWow64 = answer ? 1 : 0;
  return succeeded != 0;
}

bool Win32Modules::CallWow64DisableWow64FsRedirection(ProcAddress entry, std::uintptr_t& oldValue) {
  PVOID saved = nullptr;
  const BOOL succeeded = As<DisableRedirectionFunction>(entry)(&saved);
  oldValue = reinterpret_cast<std::uintptr_t>(saved);
  return succeeded != 0;
}

bool Win32Modules::CallWow64RevertWow64FsRedirection(ProcAddress entry, std::uintptr_t oldValue) {
  return As<RevertRedirectionFunction>(entry)(reinterpret_cast<PVOID>(oldValue)) != 0;
}

std::int32_t Win32Modules::CallDllRegisterServer(ProcAddress entry) { return As<RegisterServerFunction>(entry)(); }

}  // namespace platform::win32
