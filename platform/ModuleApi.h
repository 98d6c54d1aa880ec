// kernel32 module services: modules and their exports looked up by name, and the calls the system makes
// through entry points it found that way (each with the signature that entry point has in Windows).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using ModuleHandle = std::uintptr_t;  // HMODULE
using ProcAddress = std::uintptr_t;   // FARPROC; 0 when missing

class ModuleApi {
 public:
  virtual ~ModuleApi() = default;

  // GetModuleHandleA of a module already loaded; 0 when it is not.
  virtual ModuleHandle GetModuleHandleA(const std::string& name) = 0;
  virtual ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) = 0;
  virtual ModuleHandle LoadLibraryA(const std::string& path) = 0;
  virtual bool FreeLibrary(ModuleHandle module) = 0;

  // BOOL IsWow64Process(GetCurrentProcess(), &isWow64) through the entry point found.
  virtual bool CallIsWow64Process(ProcAddress entry, std::int32_t& isWow64) = 0;
  // BOOL Wow64DisableWow64FsRedirection(&oldValue) through the entry point found.
  virtual bool CallWow64DisableWow64FsRedirection(ProcAddress entry, std::uintptr_t& oldValue) = 0;
  // BOOL Wow64RevertWow64FsRedirection(oldValue) through the entry point found.
  virtual bool CallWow64RevertWow64FsRedirection(ProcAddress entry, std::uintptr_t oldValue) = 0;
  // HRESULT DllRegisterServer(void) through the entry point found.
  virtual std::int32_t CallDllRegisterServer(ProcAddress entry) = 0;
};

}  // namespace platform
