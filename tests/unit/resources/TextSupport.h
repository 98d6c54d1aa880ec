// Reading files and converting text between encodings for the resource tests.
#pragma once

#include <string>
#include <string_view>

namespace restest {

// The whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Converts bytes in the named iconv encoding ("UTF-8", "CP936", "UTF-16LE", ...) to UTF-8; throws
// std::runtime_error on bytes that are not valid in that encoding.
std::string ConvertToUtf8(std::string_view bytes, const std::string& encoding);

// UTF-16 code units (as the compiled resources hold them) to UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);

// The iconv name of a Windows code page: 65001 is UTF-8, 1200 UTF-16LE, others CP<n>.
std::string IconvNameOfCodePage(unsigned codePage);

}  // namespace restest
