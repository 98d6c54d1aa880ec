// The process-wide choice of Windows backend: the real one in the program, a simulated host in tests.
// The program installs its backends once at start; a test installs a simulated host for its lifetime.
#pragma once

#include "platform/FileApi.h"
#include "platform/ModuleApi.h"
#include "platform/RegistryApi.h"
#include "platform/ServiceApi.h"
#include "platform/SetupApi.h"
#include "platform/ShellApi.h"
#include "platform/SystemApi.h"
#include "platform/UiApi.h"

namespace platform {

struct Backends {
  SystemApi* system = nullptr;
  UiApi* ui = nullptr;
  RegistryApi* registry = nullptr;
  ModuleApi* modules = nullptr;
  FileApi* files = nullptr;
  ShellApi* shell = nullptr;
  SetupApi* setup = nullptr;
  ServiceApi* services = nullptr;
};

// Installs the backends every later call reaches; returns the ones installed before.
Backends Install(const Backends& backends);

// The installed backends. Calling one that was never installed is a programming error and aborts.
SystemApi& System();
UiApi& Ui();
RegistryApi& Registry();
ModuleApi& Modules();
FileApi& Files();
ShellApi& Shell();
SetupApi& Setup();
ServiceApi& Services();

// Installs backends for the lifetime of the object and puts the previous ones back afterwards.
class ScopedBackends {
 public:
  explicit ScopedBackends(const Backends& backends) : previous_(Install(backends)) {}
  ~ScopedBackends() { Install(previous_); }
  ScopedBackends(const ScopedBackends&) = delete;
  ScopedBackends& operator=(const ScopedBackends&) = delete;

 private:
  Backends previous_;
};

}  // namespace platform
