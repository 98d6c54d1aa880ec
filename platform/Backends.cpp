#include "platform/Backends.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

Backends installed;

template <typename Api>
Api& Require(Api* api, const char* name) {
  if (api == nullptr) {
    std::fprintf(stderr, "no %s backend installed\n", name);
    std::abort();
  }
  return *api;
}

}  // namespace

Backends Install(const Backends& backends) {
  Backends previous = installed;
  installed = backends;
  return previous;
}

SystemApi& System() { return Require(installed.system, "system"); }
UiApi& Ui() { return Require(installed.ui, "user-interface"); }
RegistryApi& Registry() { return Require(installed.registry, "registry"); }
ModuleApi& Modules() { return Require(installed.modules, "module"); }
FileApi& Files() { return Require(installed.files, "file"); }
ShellApi& Shell() { return Require(installed.shell, "shell"); }
SetupApi& Setup() { return Require(installed.setup, "Setup API"); }
ServiceApi& Services() { return Require(installed.services, "service"); }

}  // namespace platform
