#include "platform/sim/SimSystem.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/WinConstants.h"
#include "platform/sim/CodePages.h"
#include "platform/sim/CommandLineRules.h"

namespace platform::sim {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Splits the part after the root into its elements, resolving "." and ".." (never above the root).
std::vector<std::string> ResolveElements(const std::string& rest) {
  std::vector<std::string> elements;
  std::string element;
  auto finish = [&]() {
    if (element == "..") {
      if (!elements.empty()) elements.pop_back();
    } else if (!element.empty() && element != ".") {
      elements.push_back(element);
    }
    element.clear();
  };
  for (char c : rest) {
    if (IsSeparator(c)) {
      finish();
    } else {
      element += c;
    }
  }
  finish();
  return elements;
}

}  // namespace

std::string ResolveFullPath(const std::string& path, const std::string& currentDirectory) {
  std::string root;
  std::string rest;
  const std::string currentRoot = currentDirectory.substr(0, 2);
  if (HasDrive(path) && path.size() >= 3 && IsSeparator(path[2])) {
    root = path.substr(0, 2);
    rest = path.substr(2);
  } else if (HasDrive(path)) {  // drive-relative: resolved against the current directory on that drive
    root = path.substr(0, 2);
    rest = (root == currentRoot ? currentDirectory.substr(2) : std::string()) + "\\" + path.substr(2);
  } else if (!path.empty() && IsSeparator(path[0])) {
    root = currentRoot;
    rest = path;
  } else {
    root = currentRoot;
    rest = currentDirectory.substr(2) + "\\" + path;
  }
  std::string full = root;
  const std::vector<std::string> elements = ResolveElements(rest);
  for (const std::string& element : elements) full += "\\" + element;
  const bool trailingSeparator = !path.empty() && IsSeparator(path.back());
  if (elements.empty() || trailingSeparator) full += "\\";
  return full;
}

std::wstring SimSystem::GetCommandLineW() { return commandLine; }

bool SimSystem::CommandLineToArgvW(const std::wstring& line, std::vector<std::wstring>& arguments) {
  if (Planned("CommandLineToArgvW")) return false;
  arguments = SplitCommandLine(line);
  return true;
}

bool SimSystem::WideCharToThreadAnsi(const std::wstring& text, std::string& ansi) {
  if (Planned("WideCharToMultiByte")) return false;
  std::optional<std::string> converted = WideToCodePage(text, ansiCodePage);
  if (!converted) {
    machine_.lastError = kErrorNoUnicodeTranslation;
    return false;
  }
  ansi = *converted;
  return true;
}

std::uint32_t SimSystem::GetModuleFileNameA(char* buffer, std::uint32_t size) {
  if (Planned("GetModuleFileNameA")) return 0;
  if (size == 0) return 0;
  if (moduleFileName.size() >= size) {  // cut to fit, terminated, as Windows Vista and later do
    std::memcpy(buffer, moduleFileName.data(), size - 1);
    buffer[size - 1] = '\0';
    machine_.lastError = kErrorInsufficientBuffer;
    return size;
  }
  std::memcpy(buffer, moduleFileName.c_str(), moduleFileName.size() + 1);
  return static_cast<std::uint32_t>(moduleFileName.size());
}

bool SimSystem::SetCurrentDirectoryA(const std::string& path) {
  if (Planned("SetCurrentDirectoryA")) return false;
  if (path.empty() || path.size() >= kMaxPath) {
    machine_.lastError = path.empty() ? kErrorFileNotFound : 206;  // ERROR_FILENAME_EXCED_RANGE
    return false;
  }
  currentDirectory = ResolveFullPath(path, currentDirectory);
  if (currentDirectory.size() > 3 && currentDirectory.back() == '\\') currentDirectory.pop_back();
  directoryChanges.push_back(currentDirectory);
  return true;
}

std::uint32_t SimSystem::GetFullPathNameA(const std::string& fileName, std::uint32_t size, char* buffer) {
  if (Planned("GetFullPathNameA")) return 0;
  if (fileName.empty()) {
    machine_.lastError = 123;  // ERROR_INVALID_NAME
    return 0;
  }
  if (fileName.size() >= kMaxPath) {  // the ANSI call converts the name in a buffer of MAX_PATH characters
    machine_.lastError = 206;         // ERROR_FILENAME_EXCED_RANGE
    return 0;
  }
  const std::string full = ResolveFullPath(fileName, currentDirectory);
  if (full.size() + 1 > size) return static_cast<std::uint32_t>(full.size() + 1);
  std::memcpy(buffer, full.c_str(), full.size() + 1);
  return static_cast<std::uint32_t>(full.size());
}

bool SimSystem::GetVersionExA(OsVersionInfoA& info) {
  versionQuerySizes.push_back(info.dwOSVersionInfoSize);
  if (Planned("GetVersionExA")) return false;
  if (info.dwOSVersionInfoSize != kOsVersionInfoASize && info.dwOSVersionInfoSize != 156) {
    machine_.lastError = kErrorInsufficientBuffer;
    return false;
  }
  info.dwMajorVersion = version.major;
  info.dwMinorVersion = version.minor;
  info.dwBuildNumber = version.build;
  info.dwPlatformId = 2;  // VER_PLATFORM_WIN32_NT
  return true;
}

bool SimSystem::IsDBCSLeadByte(std::uint8_t byte) { return IsLeadByte(byte, ansiCodePage); }

}  // namespace platform::sim
