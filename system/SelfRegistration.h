// Has a COM component library enter itself in the registry: load it, call its DllRegisterServer, unload
// it. Nothing is reported; a library that cannot be loaded, lacks the entry point or fails is passed by.
#pragma once

#include <string>

namespace sys {

void RunSelfRegistration(const std::string& path);

}  // namespace sys
