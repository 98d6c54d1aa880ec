// ANSI code pages of the simulated host: conversion from UTF-16 and the lead bytes of double-byte
// characters, for 1252, 936 and 950.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::sim {

// The text in the code page; empty when a character has no equivalent there.
std::optional<std::string> WideToCodePage(const std::wstring& text, std::uint32_t codePage);

// The text decoded from the code page as UTF-8; empty when the bytes are not valid there.
std::optional<std::string> CodePageToUtf8(const std::string& bytes, std::uint32_t codePage);

// UTF-8 text in the code page, a character without equivalent replaced by '?', as Windows does when it
// hands out a wide resource string through an ANSI call.
std::string Utf8ToCodePageLossy(const std::string& text, std::uint32_t codePage);

bool IsLeadByte(std::uint8_t byte, std::uint32_t codePage);

}  // namespace platform::sim
