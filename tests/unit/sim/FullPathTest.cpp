// The simulated host forms absolute paths as GetFullPathNameA does.
#include <gtest/gtest.h>

#include "platform/sim/SimSystem.h"

namespace {

TEST(FullPath, ResolvesLikeGetFullPathName) {
  const std::string current = "C:\\Package\\Calvant";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"..", "C:\\Package"},
      {"..\\SDK", "C:\\Package\\SDK"},
      {"Drv", "C:\\Package\\Calvant\\Drv"},
      {".\\a\\.\\b\\..", "C:\\Package\\Calvant\\a"},
      {"..\\..\\..\\..", "C:\\"},
      {"D:\\x/y\\..\\z", "D:\\x\\z"},
      {"\\Rooted", "C:\\Rooted"},
      {"C:rel", "C:\\Package\\Calvant\\rel"},
      {"E:rel", "E:\\rel"},
      {"D:\\trailing\\", "D:\\trailing\\"},
  };
  for (const auto& [path, full] : cases) EXPECT_EQ(platform::sim::ResolveFullPath(path, current), full) << path;
}

}  // namespace
