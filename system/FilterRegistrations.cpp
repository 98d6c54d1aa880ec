#include "system/FilterRegistrations.h"

#include <array>
#include <set>
#include <string>

#include "platform/ScopedRegKey.h"

namespace sys {
namespace {

constexpr std::uint32_t kNameBufferSize = 1024;

void CleanCategory(std::string_view instanceKey) {
  platform::RegistryApi& registry = platform::Registry();
  platform::ScopedRegKey instances;
  if (registry.RegOpenKeyExA(platform::kHkeyClassesRoot, std::string(instanceKey), 0, platform::kKeyAllAccess,
                             instances.Receive()) != 0) {
    return;
  }
  std::array<char, kNameBufferSize> name{};
  std::uint32_t index = 0;
  // Subkey names are unique and a deleted one is gone: a name that comes back means the enumeration is
  // not moving on (or a deletion reported done did not happen), and the walk ends there.
  std::set<std::string> handled;
  while (registry.RegEnumKeyA(instances.Get(), index, name.data(), kNameBufferSize) == 0) {
    name.back() = '\0';
    if (!handled.insert(name.data()).second) break;
    // A deleted subkey's successor moves into its place; one that stays is stepped over.
    if (!IsPlatformFilterKey(name.data()) || registry.RegDeleteKeyA(instances.Get(), name.data()) != 0) ++index;
  }
}

}  // namespace

bool IsPlatformFilterKey(std::string_view name) {
  return name.substr(0, kPlatformFilterPrefix.size()) == kPlatformFilterPrefix;
}

void CleanFilterRegistrations() {
  CleanCategory(kVideoInputInstanceKey);
  CleanCategory(kLegacyFilterInstanceKey);
}

}  // namespace sys
