// Windows constants the system passes or compares, with their documented values, so that the portable
// code and the tests can name exactly what is asked of Windows.
#pragma once

#include <cstdint>

namespace platform {

// Sizes
inline constexpr std::uint32_t kMaxPath = 260;  // MAX_PATH, terminator included
inline constexpr std::uint32_t kOsVersionInfoASize = 148;

// Error codes (winerror.h)
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorInvalidFunction = 1;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;
inline constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;

// Window messages
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmPaint = 0x000F;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmQueryDragIcon = 0x0037;
inline constexpr std::uint32_t kWmIconEraseBkgnd = 0x0027;
inline constexpr std::uint32_t kWmSetIcon = 0x0080;
inline constexpr std::uint32_t kWmGetDlgCode = 0x0087;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmSysCommand = 0x0112;

// Button messages, notifications and states
inline constexpr std::uint32_t kBmGetCheck = 0x00F0;
inline constexpr std::uint32_t kBmSetCheck = 0x00F1;
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kBstUnchecked = 0;
inline constexpr std::uint32_t kBstChecked = 1;
inline constexpr std::uint32_t kDlgcRadioButton = 0x0040;

// Dialog commands
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// WM_SETICON
inline constexpr std::uintptr_t kIconSmall = 0;
inline constexpr std::uintptr_t kIconBig = 1;

// System commands and metrics
inline constexpr std::uintptr_t kScClose = 0xF060;
inline constexpr int kSmCxIcon = 11;
inline constexpr int kSmCyIcon = 12;

// Menus
inline constexpr std::uint32_t kMfString = 0x0000;
inline constexpr std::uint32_t kMfSeparator = 0x0800;

// Window styles
inline constexpr std::uint32_t kWsGroup = 0x00020000;
inline constexpr std::uint32_t kWsTabStop = 0x00010000;

// Message boxes
inline constexpr std::uint32_t kMbOk = 0x0000;

// Code pages
inline constexpr std::uint32_t kCodePageWesternEuropean = 1252;
inline constexpr std::uint32_t kCodePageSimplifiedChinese = 936;
inline constexpr std::uint32_t kCodePageTraditionalChinese = 950;

}  // namespace platform
