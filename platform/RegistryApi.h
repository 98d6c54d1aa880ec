// advapi32 registry services. Each call mirrors the Win32 call of the same name and returns its status
// code (0 success, else a Windows error). Views are chosen by the access mask (KEY_WOW64_64KEY).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using RegKey = std::uintptr_t;  // HKEY

inline constexpr RegKey kHkeyClassesRoot = 0x80000000;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegOptionNonVolatile = 0;

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  virtual std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                                     std::uint32_t samDesired, RegKey& result) = 0;
  // RegCreateKeyExA with no class, default security and no disposition: opens the key, creating it and
  // any missing parent.
  virtual std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                                       std::uint32_t samDesired, RegKey& result) = 0;
  // RegSetValueExA: stores exactly byteCount bytes of data.
  virtual std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t byteCount) = 0;
  // RegEnumKeyA: the name of the subkey at the index into a buffer of nameSize characters;
  // ERROR_NO_MORE_ITEMS (259) after the last.
  virtual std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) = 0;
  virtual std::int32_t RegDeleteKeyA(RegKey key, const std::string& subKey) = 0;
  virtual std::int32_t RegCloseKey(RegKey key) = 0;
};

}  // namespace platform
