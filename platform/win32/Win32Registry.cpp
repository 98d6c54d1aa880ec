#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace platform::win32 {
namespace {

HKEY ToKey(RegKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::int32_t Win32Registry::RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                                          std::uint32_t samDesired, RegKey& result) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(ToKey(key), subKey.c_str(), options, samDesired, &opened);
  if (status == ERROR_SUCCESS) result = reinterpret_cast<RegKey>(opened);
  return status;
}

std::int32_t Win32Registry::RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                                            std::uint32_t samDesired, RegKey& result) {
  HKEY created = nullptr;
  const LONG status =
      ::RegCreateKeyExA(ToKey(key), subKey.c_str(), 0, nullptr, options, samDesired, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) result = reinterpret_cast<RegKey>(created);
  return status;
}

std::int32_t Win32Registry::RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                                           const std::uint8_t* data, std::uint32_t byteCount) {
  return ::RegSetValueExA(ToKey(key), valueName.c_str(), 0, type, data, byteCount);
}

std::int32_t Win32Registry::RegEnumKeyA(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  return ::RegEnumKeyA(ToKey(key), index, name, nameSize);
}

std::int32_t Win32Registry::RegDeleteKeyA(RegKey key, const std::string& subKey) {
  return ::RegDeleteKeyA(ToKey(key), subKey.c_str());
}

std::int32_t Win32Registry::RegCloseKey(RegKey key) { return ::RegCloseKey(ToKey(key)); }

}  // namespace platform::win32
