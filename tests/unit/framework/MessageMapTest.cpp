#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "framework/MessageMap.h"

namespace {

using framework::MessageMapEntry;
using framework::MessageResult;
using framework::WindowMessage;

struct Recorder {
  std::vector<int> calls;
};

std::uintptr_t Command(int id, std::uint32_t code) { return static_cast<std::uintptr_t>(id) | (code << 16); }

TEST(MessageMap, TheFirstFittingEntryTakesTheMessage) {
  using Entry = MessageMapEntry<Recorder>;
  const std::array<Entry, 4> map{
      Entry{platform::kWmCommand,
            [](Recorder& r, const WindowMessage&) -> MessageResult {
              r.calls.push_back(1);
              return 0;
            },
            platform::kBnClicked, 1},
      Entry{platform::kWmCommand,
            [](Recorder& r, const WindowMessage&) -> MessageResult {
              r.calls.push_back(2);
              return 7;
            }},
      Entry{platform::kWmClose,
            [](Recorder& r, const WindowMessage&) {
              r.calls.push_back(3);
              return framework::DefaultHandling();
            }},
      Entry{platform::kWmClose,
            [](Recorder& r, const WindowMessage&) -> MessageResult {
              r.calls.push_back(4);
              return 0;
            }},
  };
  Recorder recorder;
  auto dispatch = [&](std::uint32_t message, std::uintptr_t wParam) {
    return framework::DispatchMessageMap<Recorder>(map, recorder, WindowMessage{message, wParam, 0});
  };
  EXPECT_EQ(dispatch(platform::kWmCommand, Command(1, platform::kBnClicked)), MessageResult{0});
  EXPECT_EQ(dispatch(platform::kWmCommand, Command(2, platform::kBnClicked)), MessageResult{7});
  EXPECT_EQ(dispatch(platform::kWmCommand, Command(1, 5)), MessageResult{7}) << "another notification of control 1";
  const auto close = dispatch(platform::kWmClose, 0);
  ASSERT_TRUE(close.has_value()) << "an entry fitted";
  EXPECT_FALSE(close->has_value()) << "and asked for the default handling";
  EXPECT_FALSE(dispatch(platform::kWmPaint, 0).has_value()) << "no entry fits";
  EXPECT_EQ(recorder.calls, (std::vector<int>{1, 2, 2, 3}));
}

}  // namespace
