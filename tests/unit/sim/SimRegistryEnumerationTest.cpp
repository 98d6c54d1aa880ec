// RegEnumKeyA of the simulated registry picks up where its last call stopped; whatever happens to the
// key between calls (subkeys deleted or created before, at or after that place, other keys walked, the
// walk going back), each index still names the subkey at that position of the enumeration order.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"

namespace {

using platform::kHkeyClassesRoot;
using platform::sim::RegView;
using platform::sim::SimHost;

constexpr std::int32_t kErrorNoMoreItems = 259;
const std::string kParents[] = {"CLSID\\{A}\\Instance", "CLSID\\{B}\\Instance"};

// What the program reads at an index: the name, or the error's number in brackets.
std::string EnumAt(SimHost& host, platform::RegKey key, std::uint32_t index) {
  char name[64] = {};
  const std::int32_t result = host.registry.RegEnumKeyA(key, index, name, sizeof(name));
  return result == 0 ? std::string(name) : "[" + std::to_string(result) + "]";
}

// The name at an index as the registry lists it now, from scratch.
std::string Expected(const SimHost& host, const std::string& parent, std::uint32_t index) {
  const std::vector<std::string> names = host.registry.SubkeyNames(kHkeyClassesRoot, parent, RegView::Bits32);
  return index < names.size() ? names[index] : "[" + std::to_string(kErrorNoMoreItems) + "]";
}

TEST(SimRegistryEnumeration, EachIndexNamesTheSubkeyAtThatPositionWhateverHappenedBetweenCalls) {
  SimHost host;
  platform::RegKey keys[2] = {};
  for (int p = 0; p < 2; ++p) {
    for (int n = 0; n < 12; ++n) {
      host.registry.CreateKey(kHkeyClassesRoot, kParents[p] + "\\K" + std::to_string(n * 7 % 12), RegView::Bits32);
    }
    ASSERT_EQ(host.registry.RegOpenKeyExA(kHkeyClassesRoot, kParents[p], 0, platform::kKeyAllAccess, keys[p]), 0);
  }
  // Walks mostly forward, as the program does, with deletions and creations at random places.
  std::mt19937 random(7);
  std::uint32_t index[2] = {0, 0};
  for (int step = 0; step < 4000; ++step) {
    const int p = static_cast<int>(random() % 2);
    const std::string child = "K" + std::to_string(random() % 16);
    switch (random() % 8) {
      case 0:
        host.registry.RegDeleteKeyA(keys[p], child);
        break;
      case 1:
        host.registry.CreateKey(kHkeyClassesRoot, kParents[p] + "\\" + child, RegView::Bits32);
        break;
      case 2:
        index[p] = static_cast<std::uint32_t>(random() % 18);
        break;
      case 3: {
        // Delete the subkey just read, then read the same index again: its successor.
        const std::string read = EnumAt(host, keys[p], index[p]);
        if (read[0] != '[') host.registry.RegDeleteKeyA(keys[p], read);
        break;
      }
      default:
        ++index[p];
        break;
    }
    if (index[p] > 17) index[p] = 0;
    ASSERT_EQ(EnumAt(host, keys[p], index[p]), Expected(host, kParents[p], index[p])) << "step " << step;
  }
}

TEST(SimRegistryEnumeration, AKeyDeletedAfterItsSubkeysAndCreatedAgainIsWalkedAfresh) {
  SimHost host;
  const std::string parent = kParents[0] + "\\Family";
  for (const char* name : {"A", "B"}) host.registry.CreateKey(kHkeyClassesRoot, parent + "\\" + name, RegView::Bits32);
  platform::RegKey family = 0;
  ASSERT_EQ(host.registry.RegOpenKeyExA(kHkeyClassesRoot, parent, 0, platform::kKeyAllAccess, family), 0);
  EXPECT_EQ(EnumAt(host, family, 1), "B");
  for (const char* name : {"A", "B"}) EXPECT_EQ(host.registry.RegDeleteKeyA(family, name), 0);
  EXPECT_EQ(EnumAt(host, family, 0), "[259]");
  host.registry.RegCloseKey(family);
  platform::RegKey instance = 0;
  ASSERT_EQ(host.registry.RegOpenKeyExA(kHkeyClassesRoot, kParents[0], 0, platform::kKeyAllAccess, instance), 0);
  EXPECT_EQ(host.registry.RegDeleteKeyA(instance, "Family"), 0);

  host.registry.CreateKey(kHkeyClassesRoot, parent + "\\C", RegView::Bits32);
  ASSERT_EQ(host.registry.RegOpenKeyExA(kHkeyClassesRoot, parent, 0, platform::kKeyAllAccess, family), 0);
  EXPECT_EQ(EnumAt(host, family, 0), "C");
  EXPECT_EQ(EnumAt(host, family, 1), "[259]");
}

}  // namespace
