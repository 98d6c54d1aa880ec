// The registry on real Windows: each call forwards to the advapi32 call of the same name.
#pragma once

#include "platform/RegistryApi.h"

namespace platform::win32 {

class Win32Registry : public RegistryApi {
 public:
  std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                             RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                               RegKey& result) override;
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t byteCount) override;
  std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  std::int32_t RegDeleteKeyA(RegKey key, const std::string& subKey) override;
  std::int32_t RegCloseKey(RegKey key) override;
};

}  // namespace platform::win32
