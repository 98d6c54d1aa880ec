// The loader on real Windows: modules, exports and calls through the entry points found.
#pragma once

#include "platform/ModuleApi.h"

namespace platform::win32 {

class Win32Modules : public ModuleApi {
 public:
  ModuleHandle GetModuleHandleA(const std::string& name) override;
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) override;
  ModuleHandle LoadLibraryA(const std::string& path) override;
  bool FreeLibrary(ModuleHandle module) override;
  bool CallIsWow64Process(ProcAddress entry, std::int32_t& isWow64) override;
  bool CallWow64DisableWow64FsRedirection(ProcAddress entry, std::uintptr_t& oldValue) override;
  bool CallWow64RevertWow64FsRedirection(ProcAddress entry, std::uintptr_t oldValue) override;
  std::int32_t CallDllRegisterServer(ProcAddress entry) override;
};

}  // namespace platform::win32
