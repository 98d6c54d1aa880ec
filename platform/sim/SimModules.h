// The simulated loader: kernel32 with or without its WOW64 exports, and libraries the program may load,
// with or without DllRegisterServer. Calls through the entry points act on the simulated machine.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ModuleApi.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

struct SimLibrary {
  bool exportsRegisterServer = true;
  std::int32_t registerResult = 0;         // the HRESULT DllRegisterServer returns
  std::function<void()> onRegisterServer;  // what its registration does on the machine
};

class SimModules : public ModuleApi {
 public:
  explicit SimModules(SimMachine& machine) : machine_(machine) {}

  ModuleHandle GetModuleHandleA(const std::string& name) override;
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& name) override;
  ModuleHandle LoadLibraryA(const std::string& path) override;
  bool FreeLibrary(ModuleHandle module) override;
  bool CallIsWow64Process(ProcAddress entry, std::int32_t& isWow64) override;
  bool CallWow64DisableWow64FsRedirection(ProcAddress entry, std::uintptr_t& oldValue) override;
  bool CallWow64RevertWow64FsRedirection(ProcAddress entry, std::uintptr_t oldValue) override;
  std::int32_t CallDllRegisterServer(ProcAddress entry) override;

  // Exports kernel32 lacks (an older Windows).
  std::set<std::string> missingKernelExports;
  // Libraries that can be loaded, by full path (letter case ignored).
  std::map<std::string, SimLibrary> libraries;

  // What happened, in order: "load PATH", "register PATH", "free PATH", "disable", "revert".
  std::vector<std::string> events;
  int loadedLibraries = 0;  // loaded and not yet freed

 private:
  SimMachine& machine_;
  std::map<ModuleHandle, std::string> loaded_;  // handle -> path as loaded
};

}  // namespace platform::sim
