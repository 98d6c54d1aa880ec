#include "platform/sim/SimRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform::sim {
namespace {

constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorAccessDenied = 5;
constexpr std::int32_t kErrorInvalidHandle = 6;
constexpr std::int32_t kErrorMoreData = 234;
constexpr std::int32_t kErrorNoMoreItems = 259;
constexpr std::int32_t kErrorKeyDeleted = 1018;
// KEY_SET_VALUE, KEY_CREATE_SUB_KEY and DELETE: what makes an open one for writing.
constexpr std::uint32_t kWritingAccess = 0x0002 | 0x0004 | 0x10000;

std::vector<std::string> Elements(const std::string& path) {
  std::vector<std::string> elements;
  std::string element;
  for (char c : path) {
    if (c == '\\') {
      if (!element.empty()) elements.push_back(element);
      element.clear();
    } else {
      element += c;
    }
  }
  if (!element.empty()) elements.push_back(element);
  return elements;
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::string Join(const std::vector<std::string>& elements) {
  std::string path;
  for (const std::string& element : elements) path += (path.empty() ? "" : "\\") + element;
  return path;
}

bool IsAtOrBelow(const std::string& path, const std::string& ancestor) {
  return path == ancestor || (path.size() > ancestor.size() && path.compare(0, ancestor.size(), ancestor) == 0 &&
                              path[ancestor.size()] == '\\');
}

const char* RootName(RegKey root) {
  switch (root) {
    case kHkeyClassesRoot:
      return "HKCR";
    case kHkeyCurrentUser:
      return "HKCU";
    default:
      return "HKLM";
  }
}

bool IsRoot(RegKey key) { return key == kHkeyClassesRoot || key == kHkeyCurrentUser || key == kHkeyLocalMachine; }

bool IsLocked(const std::set<std::pair<RegKey, std::string>>& locks, RegKey root, const std::string& upperPath) {
  return std::any_of(locks.begin(), locks.end(),
                     [&](const auto& lock) { return lock.first == root && IsAtOrBelow(upperPath, lock.second); });
}

}  // namespace

std::string StoredValue::Text() const {
  std::string text(bytes.begin(), bytes.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::string SimRegistry::Physical(RegKey root, const std::string& path, RegView view) const {
  std::vector<std::string> elements = Elements(path);
  if (machine_.is64BitWindows && view == RegView::Bits32) {
    const bool softwareBranch = root == kHkeyLocalMachine && elements.size() >= 2 && Upper(elements[0]) == "SOFTWARE";
    const bool classBranch = root == kHkeyClassesRoot && !elements.empty() && Upper(elements[0]) == "CLSID";
    if (softwareBranch && Upper(elements[1]) != "WOW6432NODE") {
      elements.insert(elements.begin() + 1, "Wow6432Node");
    } else if (classBranch) {
      elements.insert(elements.begin(), "Wow6432Node");
    }
  }
  return Join(elements);
}

RegView SimRegistry::ViewOf(std::uint32_t samDesired) const {
  return (samDesired & kKeyWow64_64Key) ? RegView::Bits64 : RegView::Bits32;
}

std::optional<SimRegistry::OpenKey> SimRegistry::Resolve(RegKey key, const std::string& subKey,
                                                         std::uint32_t samDesired) const {
  const bool writable = (samDesired & kWritingAccess) != 0;
  if (IsRoot(key)) return OpenKey{key, Physical(key, subKey, ViewOf(samDesired)), writable};
  auto found = open_.find(key);
  if (found == open_.end()) return std::nullopt;
  std::vector<std::string> elements = Elements(found->second.path);
  for (const std::string& element : Elements(subKey)) elements.push_back(element);
  return OpenKey{found->second.root, Join(elements), writable};
}

SimRegistry::Key* SimRegistry::Find(RegKey root, const std::string& physicalPath) {
  return const_cast<Key*>(static_cast<const SimRegistry*>(this)->Find(root, physicalPath));
}

const SimRegistry::Key* SimRegistry::Find(RegKey root, const std::string& physicalPath) const {
  auto rootFound = roots_.find(root);
  if (rootFound == roots_.end()) return nullptr;
  const Key* key = &rootFound->second;
  for (const std::string& element : Elements(physicalPath)) {
    auto child = key->subkeys.find(Upper(element));
    if (child == key->subkeys.end()) return nullptr;
    key = &child->second;
  }
  return key;
}

SimRegistry::Key& SimRegistry::Create(RegKey root, const std::string& physicalPath) {
  Key* key = &roots_[root];
  for (const std::string& element : Elements(physicalPath)) {
    auto [child, added] = key->subkeys.try_emplace(Upper(element));
    if (added) {
      child->second.name = element;
      // A new subkey moves the positions after it: the next walk of this key starts again.
      if (key == cursor_.parent) cursor_ = EnumCursor{};
    }
    key = &child->second;
  }
  return *key;
}

const SimRegistry::Key& SimRegistry::SubkeyAt(const Key& parent, std::uint32_t index) {
  if (cursor_.parent != &parent || index < cursor_.index) cursor_ = EnumCursor{&parent, 0, parent.subkeys.begin()};
  cursor_.at = std::next(cursor_.at, index - cursor_.index);
  cursor_.index = index;
  return cursor_.at->second;
}

void SimRegistry::EraseSubkey(Key& parent, const std::string& upperName) {
  const auto doomed = parent.subkeys.find(upperName);
  if (&doomed->second == cursor_.parent) cursor_ = EnumCursor{};
  if (&parent == cursor_.parent) {
    // The subkeys after the doomed one move up by one position.
    if (doomed == cursor_.at) {
      ++cursor_.at;
    } else if (cursor_.at == parent.subkeys.end() || doomed->first < cursor_.at->first) {
      --cursor_.index;
    }
  }
  parent.subkeys.erase(doomed);
}

RegKey SimRegistry::Remember(const OpenKey& key) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = key;
  ++openKeys;
  return handle;
}

std::string SimRegistry::Describe(const std::optional<OpenKey>& key) {
  return key ? std::string(RootName(key->root)) + "\\" + key->path : std::string();
}

std::int32_t SimRegistry::Fail(std::int32_t error) {
  machine_.lastError = static_cast<std::uint32_t>(error);
  return error;
}

std::int32_t SimRegistry::RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t, std::uint32_t samDesired,
                                        RegKey& result) {
  requests.push_back({"RegOpenKeyExA", key, subKey, samDesired});
  std::optional<OpenKey> target = Resolve(key, subKey, samDesired);
  if (auto error = machine_.faults.Consult("RegOpenKeyExA", Describe(target))) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (!target) return Fail(kErrorInvalidHandle);
  if (Find(target->root, target->path) == nullptr) return Fail(kErrorFileNotFound);
  if (target->writable && IsLocked(locked_, target->root, Upper(target->path))) {
    return Fail(kErrorAccessDenied);
  }
  result = Remember(*target);
  return 0;
}

std::int32_t SimRegistry::RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t,
                                          std::uint32_t samDesired, RegKey& result) {
  requests.push_back({"RegCreateKeyExA", key, subKey, samDesired});
  std::optional<OpenKey> target = Resolve(key, subKey, samDesired);
  if (auto error = machine_.faults.Consult("RegCreateKeyExA", Describe(target))) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (!target) return Fail(kErrorInvalidHandle);
  if (IsLocked(locked_, target->root, Upper(target->path)) &&
      (target->writable || Find(target->root, target->path) == nullptr)) {
    return Fail(kErrorAccessDenied);
  }
  Create(target->root, target->path);
  result = Remember(*target);
  return 0;
}

std::int32_t SimRegistry::RegSetValueExA(RegKey key, const std::string& valueName, std::uint32_t type,
                                         const std::uint8_t* data, std::uint32_t byteCount) {
  auto found = open_.find(key);
  const std::optional<OpenKey> handleKey = found == open_.end() ? std::nullopt : std::optional<OpenKey>(found->second);
  if (auto error = machine_.faults.Consult("RegSetValueExA", Describe(handleKey) + ": " + valueName)) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (found == open_.end()) return Fail(kErrorInvalidHandle);
  if (!found->second.writable) return Fail(kErrorAccessDenied);
  Key* target = Find(found->second.root, found->second.path);
  if (target == nullptr) return Fail(kErrorKeyDeleted);
  const std::string upperName = Upper(valueName);
  target->valueNames[upperName] = valueName;
  target->values[upperName] = StoredValue{type, std::vector<std::uint8_t>(data, data + byteCount)};
  return 0;
}

std::int32_t SimRegistry::RegEnumKeyA(RegKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  std::optional<OpenKey> target = Resolve(key, "", 0);
  if (auto error = machine_.faults.Consult("RegEnumKeyA", Describe(target))) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (!target) return Fail(kErrorInvalidHandle);
  const Key* parent = Find(target->root, target->path);
  if (parent == nullptr) return Fail(kErrorKeyDeleted);
  // Endless: the first subkey's name whatever the index, as if the enumeration never moved on.
  if (machine_.faults.IsEndless("RegEnumKeyA") && !parent->subkeys.empty()) index = 0;
  if (index >= parent->subkeys.size()) return Fail(kErrorNoMoreItems);
  const std::string& childName = SubkeyAt(*parent, index).name;
  if (childName.size() + 1 > nameSize) return Fail(kErrorMoreData);
  std::memcpy(name, childName.c_str(), childName.size() + 1);
  return 0;
}

std::int32_t SimRegistry::RegDeleteKeyA(RegKey key, const std::string& subKey) {
  std::optional<OpenKey> target = Resolve(key, subKey, 0);
  if (auto error = machine_.faults.Consult("RegDeleteKeyA", Describe(target))) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (!target || Elements(subKey).empty()) return Fail(kErrorInvalidHandle);
  Key* doomed = Find(target->root, target->path);
  if (doomed == nullptr) return Fail(kErrorFileNotFound);
  const std::string upperPath = Upper(target->path);
  if (protected_.count({target->root, upperPath}) || !doomed->subkeys.empty()) return Fail(kErrorAccessDenied);
  std::vector<std::string> elements = Elements(target->path);
  const std::string last = Upper(elements.back());
  elements.pop_back();
  EraseSubkey(*Find(target->root, Join(elements)), last);
  return 0;
}

std::int32_t SimRegistry::RegCloseKey(RegKey key) {
  auto found = open_.find(key);
  const std::optional<OpenKey> target = found == open_.end() ? std::nullopt : std::optional<OpenKey>(found->second);
  if (auto error = machine_.faults.Consult("RegCloseKey", Describe(target))) {
    return Fail(static_cast<std::int32_t>(*error));
  }
  if (open_.erase(key) == 0) return Fail(kErrorInvalidHandle);
  --openKeys;
  return 0;
}

void SimRegistry::CreateKey(RegKey root, const std::string& path, RegView view) {
  Create(root, Physical(root, path, view));
}

void SimRegistry::SetString(RegKey root, const std::string& path, RegView view, const std::string& name,
                            const std::string& text) {
  Key& key = Create(root, Physical(root, path, view));
  key.valueNames[Upper(name)] = name;
  key.values[Upper(name)] =
      StoredValue{kRegSz, std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1)};
}

bool SimRegistry::KeyExists(RegKey root, const std::string& path, RegView view) const {
  return Find(root, Physical(root, path, view)) != nullptr;
}

std::optional<StoredValue> SimRegistry::Value(RegKey root, const std::string& path, RegView view,
                                              const std::string& name) const {
  const Key* key = Find(root, Physical(root, path, view));
  if (key == nullptr) return std::nullopt;
  auto found = key->values.find(Upper(name));
  if (found == key->values.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> SimRegistry::ValueNames(RegKey root, const std::string& path, RegView view) const {
  std::vector<std::string> names;
  if (const Key* key = Find(root, Physical(root, path, view))) {
    for (const auto& [upper, name] : key->valueNames) names.push_back(name);
  }
  return names;
}

std::vector<std::string> SimRegistry::SubkeyNames(RegKey root, const std::string& path, RegView view) const {
  std::vector<std::string> names;
  if (const Key* key = Find(root, Physical(root, path, view))) {
    for (const auto& [upper, child] : key->subkeys) names.push_back(child.name);
  }
  return names;
}

void SimRegistry::LockKey(RegKey root, const std::string& path, RegView view) {
  locked_.insert({root, Upper(Physical(root, path, view))});
}

void SimRegistry::ProtectKey(RegKey root, const std::string& path, RegView view) {
  protected_.insert({root, Upper(Physical(root, path, view))});
}

std::vector<std::string> SimRegistry::Snapshot() const {
  std::vector<std::string> lines;
  auto walk = [&](auto& self, const Key& key, const std::string& path) -> void {
    lines.push_back(path);
    for (const auto& [upper, value] : key.values) {
      std::string line = path + ": " + key.valueNames.at(upper) + "=" + std::to_string(value.type) + ":";
      static const char kHex[] = "0123456789abcdef";
      for (std::uint8_t byte : value.bytes) line += std::string{kHex[byte >> 4], kHex[byte & 15]};
      lines.push_back(line);
    }
    for (const auto& [upper, child] : key.subkeys) self(self, child, path + "\\" + child.name);
  };
  for (const auto& [root, key] : roots_) walk(walk, key, RootName(root));
  return lines;
}

}  // namespace platform::sim
