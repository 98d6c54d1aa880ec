#include "platform/win32/Win32Modules.h"

#include <windows.h>

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

}  // namespace

ModuleHandle Win32Modules::GetModuleHandleA(const std::string& name) {
  return reinterpret_cast<ModuleHandle>(::GetModuleHandleA(name.c_str()));
}

ProcAddress Win32Modules::GetProcAddress(ModuleHandle module, const std::string& name) {
  if (module == 0) return 0;
  return reinterpret_cast<ProcAddress>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name.c_str()));
}

ModuleHandle Win32Modules::LoadLibraryA(const std::string& path) {
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
