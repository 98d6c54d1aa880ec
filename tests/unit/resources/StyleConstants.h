// Window, dialog and control styles the resource tests look for, with their documented values.
#pragma once

#include <cstdint>

namespace restest {

inline constexpr std::uint32_t kWsPopup = 0x80000000;
inline constexpr std::uint32_t kWsChild = 0x40000000;
inline constexpr std::uint32_t kWsVisible = 0x10000000;
inline constexpr std::uint32_t kWsCaption = 0x00C00000;
inline constexpr std::uint32_t kWsSysMenu = 0x00080000;
inline constexpr std::uint32_t kWsThickFrame = 0x00040000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;
inline constexpr std::uint32_t kWsExAppWindow = 0x00040000;
inline constexpr std::uint32_t kDsFixedSys = 0x08;
inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint32_t kDsModalFrame = 0x80;

inline constexpr std::uint32_t kBsDefPushButton = 0x1;
inline constexpr std::uint32_t kBsAutoCheckBox = 0x3;
inline constexpr std::uint32_t kBsGroupBox = 0x7;
inline constexpr std::uint32_t kBsAutoRadioButton = 0x9;
inline constexpr std::uint32_t kBsTypeMask = 0xF;
inline constexpr std::uint32_t kSsLeft = 0x0;
inline constexpr std::uint32_t kSsIcon = 0x3;
inline constexpr std::uint32_t kSsTypeMask = 0x1F;

// Predefined window classes of dialog items, as ordinals.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kStaticClass = 0x0082;

inline constexpr std::uint16_t kLanguageChineseSimplified = 0x0804;  // 2052
inline constexpr int kGb2312Charset = 0x86;

}  // namespace restest
