#include "platform/sim/SimModules.h"

#include <algorithm>
#include <cctype>

namespace platform::sim {
namespace {

constexpr ModuleHandle kKernel32 = 0x7B800000;
constexpr ProcAddress kIsWow64Process = kKernel32 + 0x10;
constexpr ProcAddress kDisableRedirection = kKernel32 + 0x20;
constexpr ProcAddress kRevertRedirection = kKernel32 + 0x30;
constexpr std::uint32_t kErrorModNotFound = 126;
constexpr std::uint32_t kErrorProcNotFound = 127;
constexpr std::uint32_t kErrorInvalidFunction = 1;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

ModuleHandle SimModules::GetModuleHandleA(const std::string& name) {
  if (machine_.Planned("GetModuleHandleA", name)) return 0;
  const std::string upper = Upper(name);
  return upper == "KERNEL32" || upper == "KERNEL32.DLL" ? kKernel32 : 0;
}

ProcAddress SimModules::GetProcAddress(ModuleHandle module, const std::string& name) {
  if (machine_.Planned("GetProcAddress", name)) return 0;
  if (module == kKernel32) {
    if (missingKernelExports.count(name)) {
      machine_.lastError = kErrorProcNotFound;
      return 0;
    }
    if (name == "IsWow64Process") return kIsWow64Process;
    if (name == "Wow64DisableWow64FsRedirection") return kDisableRedirection;
    if (name == "Wow64RevertWow64FsRedirection") return kRevertRedirection;
  }
  auto found = loaded_.find(module);
  if (found != loaded_.end() && name == "DllRegisterServer") {
    for (const auto& [path, library] : libraries) {
      if (Upper(path) == Upper(found->second) && library.exportsRegisterServer) return module + 1;
    }
  }
  machine_.lastError = kErrorProcNotFound;
  return 0;
}

ModuleHandle SimModules::LoadLibraryA(const std::string& path) {
  if (machine_.Planned("LoadLibraryA", path)) return 0;
  const std::string upper = Upper(path);
  const bool known =
      std::any_of(libraries.begin(), libraries.end(), [&](const auto& entry) { return Upper(entry.first) == upper; });
  if (!known) {
    machine_.lastError = kErrorModNotFound;
    return 0;
  }
  const ModuleHandle handle = 0x10000000 + 0x10000 * static_cast<ModuleHandle>(loaded_.size() + events.size());
  loaded_[handle] = path;
  ++loadedLibraries;
  events.push_back("load " + path);
  return handle;
}

bool SimModules::FreeLibrary(ModuleHandle module) {
  if (machine_.Planned("FreeLibrary")) return false;
  auto found = loaded_.find(module);
  if (found == loaded_.end()) return false;
  events.push_back("free " + found->second);
  loaded_.erase(found);
  --loadedLibraries;
  return true;
}

bool SimModules::CallIsWow64Process(ProcAddress entry, std::int32_t& isWow64) {
  if (entry != kIsWow64Process) return false;
  if (machine_.Planned("IsWow64Process")) return false;
  isWow64 = machine_.is64BitWindows ? 1 : 0;
  return true;
}

bool SimModules::CallWow64DisableWow64FsRedirection(ProcAddress entry, std::uintptr_t& oldValue) {
  if (entry != kDisableRedirection) return false;
  events.push_back("disable");
  if (machine_.Planned("Wow64DisableWow64FsRedirection")) return false;
  if (!machine_.is64BitWindows) {  // as on 32-bit Windows: nothing to switch off
    machine_.lastError = kErrorInvalidFunction;
    return false;
  }
  oldValue = machine_.redirectionDisabled ? 1 : 0;
  machine_.redirectionDisabled = true;
  return true;
}

bool SimModules::CallWow64RevertWow64FsRedirection(ProcAddress entry, std::uintptr_t oldValue) {
  if (entry != kRevertRedirection) return false;
  events.push_back("revert");
  if (machine_.Planned("Wow64RevertWow64FsRedirection")) return false;
  machine_.redirectionDisabled = oldValue != 0;
  return true;
}

std::int32_t SimModules::CallDllRegisterServer(ProcAddress entry) {
  if (auto error = machine_.faults.Consult("DllRegisterServer")) return static_cast<std::int32_t>(*error);
  auto found = loaded_.find(entry - 1);
  if (found == loaded_.end()) return static_cast<std::int32_t>(0x80004005);  // E_FAIL
  for (auto& [path, library] : libraries) {
    if (Upper(path) != Upper(found->second)) continue;
    events.push_back("register " + path);
    if (library.onRegisterServer) library.onRegisterServer();
    return library.registerResult;
  }
  return static_cast<std::int32_t>(0x80004005);
}

}  // namespace platform::sim
