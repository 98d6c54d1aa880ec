// The simulated registry: HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and HKEY_CLASSES_ROOT with the two views
// of 64-bit Windows. A 32-bit process there reaches HKLM\Software and HKCR\CLSID through the 32-bit view
// (Wow6432Node) unless it asks for KEY_WOW64_64KEY; HKCU is shared. Values keep their raw bytes, type and
// byte count. Keys can refuse to be opened for writing or to be deleted. The fault plan records each call
// with the physical path of its key.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

enum class RegView { Bits32, Bits64 };

struct StoredValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
  // The bytes as text, without the terminating zero if one is stored.
  std::string Text() const;
  bool operator==(const StoredValue&) const = default;
};

// One open or create as the program asked for it.
struct KeyRequest {
  std::string call;
  RegKey root;
  std::string subKey;
  std::uint32_t samDesired;
};

class SimRegistry : public RegistryApi {
 public:
  explicit SimRegistry(SimMachine& machine) : machine_(machine) {}

  std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                             RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t options, std::uint32_t samDesired,
                               RegKey& result) override;
  std::int32_t RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t byteCount) override;
  std::int32_t RegEnumKeyA(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  std::int32_t RegDeleteKeyA(RegKey key, const std::string& subKey) override;
  std::int32_t RegCloseKey(RegKey key) override;

  // --- for tests: plant, inspect and lock keys in a given view ---
  void CreateKey(RegKey root, const std::string& path, RegView view);
  void SetString(RegKey root, const std::string& path, RegView view, const std::string& name, const std::string& text);
  bool KeyExists(RegKey root, const std::string& path, RegView view) const;
  std::optional<StoredValue> Value(RegKey root, const std::string& path, RegView view, const std::string& name) const;
  std::vector<std::string> ValueNames(RegKey root, const std::string& path, RegView view) const;
  std::vector<std::string> SubkeyNames(RegKey root, const std::string& path, RegView view) const;
  // Opening the key (or creating below it) with write access is refused with ERROR_ACCESS_DENIED.
  void LockKey(RegKey root, const std::string& path, RegView view);
  // Deleting the key is refused with ERROR_ACCESS_DENIED.
  void ProtectKey(RegKey root, const std::string& path, RegView view);
  // Every key of every root with its values, as lines "ROOT\path" and "ROOT\path: name=type:hex".
  std::vector<std::string> Snapshot() const;

  std::vector<KeyRequest> requests;
  int openKeys = 0;  // handles opened and not yet closed

 private:
  struct Key {
    std::string name;                               // in the letter case it was created with
    std::map<std::string, Key> subkeys;             // by upper-case name
    std::map<std::string, std::string> valueNames;  // upper-case name -> name as written
    std::map<std::string, StoredValue> values;      // by upper-case name
  };
  struct OpenKey {
    RegKey root;
    std::string path;  // physical, with Wow6432Node where the view put it
    bool writable;
  };

  // The physical path of a path in a view, as the 32-bit view redirects it.
  std::string Physical(RegKey root, const std::string& path, RegView view) const;
  RegView ViewOf(std::uint32_t samDesired) const;
  // The root and physical path a handle and subkey name; empty for an unknown handle.
  std::optional<OpenKey> Resolve(RegKey key, const std::string& subKey, std::uint32_t samDesired) const;
  Key* Find(RegKey root, const std::string& physicalPath);
  const Key* Find(RegKey root, const std::string& physicalPath) const;
  Key& Create(RegKey root, const std::string& physicalPath);
  // The subkey at a position of the enumeration order (index below the count), found from where the
  // last one was, so that a walk by rising index costs one step per subkey.
  const Key& SubkeyAt(const Key& parent, std::uint32_t index);
  // Deletes a subkey by its upper-case name, keeping the walk's place.
  void EraseSubkey(Key& parent, const std::string& upperName);
  RegKey Remember(const OpenKey& key);
  // "ROOT\physical path" of a key, for the fault plan's record of the call; empty for an unknown handle.
  static std::string Describe(const std::optional<OpenKey>& key);
  std::int32_t Fail(std::int32_t error);

  SimMachine& machine_;
  std::map<RegKey, Key> roots_;
  std::map<RegKey, OpenKey> open_;
  // Where RegEnumKeyA last stopped: a parent key, a position in its subkeys and the subkey there.
  struct EnumCursor {
    const Key* parent = nullptr;
    std::uint32_t index = 0;
    std::map<std::string, Key>::const_iterator at;
  };
  EnumCursor cursor_;
  std::set<std::pair<RegKey, std::string>> locked_;     // upper-case physical paths
  std::set<std::pair<RegKey, std::string>> protected_;  // upper-case physical paths
  RegKey nextHandle_ = 0x1000;
};

}  // namespace platform::sim
