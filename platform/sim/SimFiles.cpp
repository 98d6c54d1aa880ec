#include "platform/sim/SimFiles.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/WinConstants.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorNoMoreFiles = 18;
constexpr std::uint32_t kErrorFileExists = 80;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorFilenameExcedRange = 206;
constexpr std::uint32_t kFileAttributeArchive = 0x20;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

// Backslashes only, no doubled or trailing separators (a drive root keeps its backslash).
std::string Normalise(const std::string& path) {
  std::string result;
  for (char c : path) {
    const char separator = c == '/' ? '\\' : c;
    if (separator == '\\' && !result.empty() && result.back() == '\\') continue;
    result += separator;
  }
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

std::string ParentOf(const std::string& path) {
  const std::size_t last = path.rfind('\\');
  if (last == std::string::npos) return std::string();
  return last == 2 ? path.substr(0, 3) : path.substr(0, last);
}

std::uint32_t CopyOut(const std::string& text, char* buffer, std::uint32_t size) {
  if (text.size() + 1 > size) return static_cast<std::uint32_t>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<std::uint32_t>(text.size());
}

// What the C runtime's text mode hands out: CR LF as LF, the file ending at the first Ctrl-Z.
std::string TextMode(const std::string& content) {
  std::string text;
  for (std::size_t at = 0; at < content.size(); ++at) {
    if (content[at] == '\x1A') break;
    if (content[at] == '\r' && at + 1 < content.size() && content[at + 1] == '\n') continue;
    text += content[at];
  }
  return text;
}

}  // namespace

SimFiles::SimFiles(SimMachine& machine) : machine_(machine) {
  AddDirectory(std::string(kSystemDirectory));
  AddDirectory(std::string(kWindowsDirectory) + "\\inf");
  if (machine_.is64BitWindows) AddDirectory(std::string(kWindowsDirectory) + "\\syswow64");
}

std::string SimFiles::Redirect(const std::string& path) const {
  std::string physical = Normalise(path);
  const std::string system32 = Upper(kSystemDirectory);
  const std::string upper = Upper(physical);
  const bool underSystem32 = upper.compare(0, system32.size(), system32) == 0 &&
                             (upper.size() == system32.size() || upper[system32.size()] == '\\');
  if (machine_.is64BitWindows && !machine_.redirectionDisabled && underSystem32) {
    physical = std::string(kWindowsDirectory) + "\\syswow64" + physical.substr(system32.size());
  }
  return physical;
}

const SimFiles::Entry* SimFiles::Find(const std::string& physical) const {
  auto found = entries_.find(Upper(Normalise(physical)));
  return found == entries_.end() ? nullptr : &found->second;
}

std::uint32_t SimFiles::GetFileAttributesA(const std::string& path) {
  if (machine_.Planned("GetFileAttributesA", path)) return kInvalidFileAttributes;
  const Entry* entry = Find(Redirect(path));
  if (entry == nullptr) {
    machine_.lastError = kErrorFileNotFound;
    return kInvalidFileAttributes;
  }
  return entry->directory ? kFileAttributeDirectory : kFileAttributeArchive;
}

bool SimFiles::CopyFileA(const std::string& source, const std::string& destination, bool failIfExists) {
  if (machine_.Planned("CopyFileA", destination)) return false;
  const std::string from = Redirect(source);
  const std::string to = Redirect(destination);
  const Entry* original = Find(from);
  const Entry* existing = Find(to);
  const Entry* parent = Find(ParentOf(to));
  std::uint32_t error = 0;
  if (original == nullptr || original->directory) {
    error = original == nullptr ? kErrorFileNotFound : kErrorAccessDenied;
  } else if (parent == nullptr || !parent->directory) {
    error = kErrorPathNotFound;
  } else if (existing != nullptr && existing->directory) {
    error = kErrorAccessDenied;
  } else if (existing != nullptr && failIfExists) {
    error = kErrorFileExists;
  } else if (locked_.count(Upper(to))) {
    error = kErrorSharingViolation;
  }
  if (error != 0) {
    machine_.lastError = error;
    return false;
  }
  const std::string content = original->content;
  Entry& copy = entries_[Upper(to)];
  if (copy.path.empty()) copy.path = to;
  copy.content = content;
  copies.emplace_back(from, to);
  return true;
}

bool SimFiles::DeleteFileA(const std::string& path) {
  if (machine_.Planned("DeleteFileA", path)) return false;
  const std::string physical = Redirect(path);
  const Entry* entry = Find(physical);
  std::uint32_t error = 0;
  if (entry == nullptr) {
    error = kErrorFileNotFound;
  } else if (entry->directory) {
    error = kErrorAccessDenied;
  } else if (locked_.count(Upper(physical))) {
    error = kErrorSharingViolation;
  }
  if (error != 0) {
    machine_.lastError = error;
    return false;
  }
  entries_.erase(Upper(physical));
  return true;
}

std::uint32_t SimFiles::GetSystemDirectoryA(char* buffer, std::uint32_t size) {
  if (machine_.Planned("GetSystemDirectoryA")) return 0;
  return CopyOut(kSystemDirectory, buffer, size);
}

std::uint32_t SimFiles::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
  if (machine_.Planned("GetWindowsDirectoryA")) return 0;
  return CopyOut(kWindowsDirectory, buffer, size);
}

std::optional<std::string> SimFiles::GetEnvironmentVariableA(const std::string& name) {
  if (machine_.Planned("GetEnvironmentVariableA", name)) return std::nullopt;
  auto found = environment.find(Upper(name));
  if (found == environment.end()) return std::nullopt;
  return found->second;
}

FindHandle SimFiles::FindFirstFileA(const std::string& searchPath, std::string& name) {
  if (machine_.Planned("FindFirstFileA", searchPath)) return kInvalidFindHandle;
  if (searchPath.size() >= kMaxPath) {
    machine_.lastError = kErrorFilenameExcedRange;
    return kInvalidFindHandle;
  }
  const std::string folder = Redirect(ParentOf(Normalise(searchPath)));
  const Entry* directory = Find(folder);
  if (directory == nullptr || !directory->directory) {
    machine_.lastError = kErrorPathNotFound;
    return kInvalidFindHandle;
  }
  Listing listing;
  if (folder.size() > 3) listing.names = {".", ".."};
  const std::string prefix = Upper(folder) + (folder.size() > 3 ? "\\" : "");
  for (auto at = entries_.lower_bound(prefix); at != entries_.end() && at->first.compare(0, prefix.size(), prefix) == 0;
       ++at) {
    if (at->first.find('\\', prefix.size()) == std::string::npos)
      listing.names.push_back(at->second.path.substr(prefix.size()));
  }
  if (listing.names.empty()) {
    machine_.lastError = kErrorFileNotFound;
    return kInvalidFindHandle;
  }
  name = listing.names[0];
  listing.next = 1;
  const FindHandle handle = nextHandle_++;
  finds_[handle] = std::move(listing);
  ++openFinds;
  return handle;
}

bool SimFiles::FindNextFileA(FindHandle find, std::string& name) {
  if (machine_.Planned("FindNextFileA")) return false;
  auto found = finds_.find(find);
  if (found == finds_.end() || found->second.next >= found->second.names.size()) {
    machine_.lastError = kErrorNoMoreFiles;
    return false;
  }
  // Endless: the same entry again and again.
  if (machine_.faults.IsEndless("FindNextFileA")) {
    name = found->second.names[found->second.next];
    return true;
  }
  name = found->second.names[found->second.next++];
  return true;
}

bool SimFiles::FindClose(FindHandle find) {
  if (machine_.Planned("FindClose")) return false;
  if (finds_.erase(find) == 0) return false;
  --openFinds;
  return true;
}

TextFileHandle SimFiles::OpenTextFile(const std::string& path) {
  if (machine_.Planned("fopen", path)) return 0;
  const Entry* entry = Find(Redirect(path));
  if (entry == nullptr || entry->directory) return 0;
  const TextFileHandle handle = nextHandle_++;
  readers_[handle] = Reader{TextMode(entry->content), 0};
  ++openTextFiles;
  return handle;
}

bool SimFiles::ReadLine(TextFileHandle file, char* buffer, int size) {
  if (machine_.Planned("fgets")) return false;
  auto found = readers_.find(file);
  if (found == readers_.end() || size <= 0) return false;
  Reader& reader = found->second;
  // Endless: a file that never ends, its text read again from the start.
  if (machine_.faults.IsEndless("fgets") && reader.next >= reader.text.size()) reader.next = 0;
  if (reader.next >= reader.text.size()) return false;
  int length = 0;
  while (length < size - 1 && reader.next < reader.text.size()) {
    const char c = reader.text[reader.next++];
    buffer[length++] = c;
    if (c == '\n') break;
  }
  buffer[length] = '\0';
  return true;
}

void SimFiles::CloseTextFile(TextFileHandle file) {
  machine_.Planned("fclose");  // fails or not, the stream is gone afterwards
  if (readers_.erase(file) != 0) --openTextFiles;
}

void SimFiles::Sleep(std::uint32_t milliseconds) {
  machine_.Planned("Sleep");  // nothing to fail: recorded only
  sleeps.push_back(milliseconds);
}

void SimFiles::AddDirectory(const std::string& path) {
  std::string physical = Normalise(path);
  while (!physical.empty() && !Find(physical)) {
    entries_[Upper(physical)] = Entry{physical, true, {}};
    const std::string parent = ParentOf(physical);
    if (parent == physical) break;
    physical = parent;
  }
}

void SimFiles::AddFile(const std::string& path, const std::string& content) {
  const std::string physical = Normalise(path);
  AddDirectory(ParentOf(physical));
  entries_[Upper(physical)] = Entry{physical, false, content};
}

bool SimFiles::Exists(const std::string& path) const { return Find(path) != nullptr; }

bool SimFiles::IsDirectory(const std::string& path) const {
  const Entry* entry = Find(path);
  return entry != nullptr && entry->directory;
}

std::optional<std::string> SimFiles::Content(const std::string& path) const {
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->directory) return std::nullopt;
  return entry->content;
}

void SimFiles::LockFile(const std::string& path) { locked_.insert(Upper(Normalise(path))); }

std::vector<std::string> SimFiles::Below(const std::string& folder) const {
  std::vector<std::string> paths;
  const std::string prefix = Upper(Normalise(folder)) + "\\";
  for (auto at = entries_.lower_bound(prefix); at != entries_.end() && at->first.compare(0, prefix.size(), prefix) == 0;
       ++at) {
    paths.push_back(at->second.path);
  }
  return paths;
}

}  // namespace platform::sim
