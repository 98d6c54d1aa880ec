#include "platform/sim/SimSetup.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/WinConstants.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorNoMoreItems = 259;
constexpr std::uint32_t kErrorInvalidUserBuffer = 1784;
constexpr std::uint32_t kErrorNoSuchDevinst = 0xE000020B;
constexpr std::uint32_t kErrorDiDoDefault = 0xE000020E;
constexpr DevInst kRootDevInst = 1;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

bool SameText(const std::string& left, const std::string& right) { return Upper(left) == Upper(right); }

bool EndsWithInf(const std::string& name) { return name.size() > 4 && SameText(name.substr(name.size() - 4), ".inf"); }

// Copies the text with its NUL when it fits; the characters needed, NUL included, in any case.
std::uint32_t CopyText(const std::string& text, char* buffer, std::uint32_t size, bool& fitted) {
  const auto needed = static_cast<std::uint32_t>(text.size() + 1);
  fitted = buffer != nullptr && size >= needed;
  if (fitted) std::memcpy(buffer, text.c_str(), needed);
  return needed;
}

}  // namespace

SimSetup::SimSetup(SimMachine& machine, SimFiles& files, SimJournal& journal)
    : machine_(machine), files_(files), journal_(journal) {
  devices_[kRootDevInst] = SimDevice{kRootInstanceId, true, 0, 0};
}

std::string SimSetup::InfPath(const std::string& fileName) const {
  const bool bare = fileName.find('\\') == std::string::npos && fileName.find('/') == std::string::npos &&
                    fileName.find(':') == std::string::npos;
  return bare ? std::string(kInfDirectory) + "\\" + fileName : fileName;
}

std::optional<std::string> SimSetup::Read(const std::string& path) const { return files_.Content(path); }

std::shared_ptr<const SimInfFile> SimSetup::Parsed(const std::string& path) {
  std::optional<std::string> text = Read(path);
  if (!text) return nullptr;
  ParsedInf& parsed = parsedInfs_[path];
  if (parsed.inf == nullptr || parsed.text != *text) {
    parsed.inf = std::make_shared<const SimInfFile>(SimInfFile::Parse(*text));
    parsed.text = std::move(*text);
  }
  return parsed.inf;
}

bool SimSetup::SetupGetInfFileListA(const char* directoryPath, std::uint32_t infStyle, char* returnBuffer,
                                    std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  journal_.Record("SetupGetInfFileListA");
  infListBufferSizes.push_back(returnBufferSize);
  const std::string directory = directoryPath == nullptr ? std::string(kInfDirectory) : std::string(directoryPath);
  std::string list;
  for (const std::string& path : files_.Below(directory)) {
    const std::string name = path.substr(directory.size() + 1);
    if (name.find('\\') != std::string::npos || !EndsWithInf(name) || files_.IsDirectory(path)) continue;
    const std::shared_ptr<const SimInfFile> inf = Parsed(path);
    const bool win4 = inf != nullptr && inf->IsWin4Style();
    if ((infStyle & kInfStyleWin4) != 0 && !win4) continue;
    list += name;
    list += '\0';
  }
  list += '\0';
  auto needed = static_cast<std::uint32_t>(list.size());
  // Endless: never large enough, each answer asking for more than the buffer just given.
  if (machine_.faults.IsEndless("SetupGetInfFileListA")) needed = std::max(needed, returnBufferSize + 512);
  if (requiredSize != nullptr) *requiredSize = needed;
  if (machine_.Planned("SetupGetInfFileListA")) return false;
  if (returnBuffer == nullptr || returnBufferSize < needed) {
    machine_.lastError = kErrorInsufficientBuffer;
    return false;
  }
  std::memcpy(returnBuffer, list.data(), needed);
  return true;
}

bool SimSetup::SetupUninstallOEMInfA(const std::string& infFileName, std::uint32_t flags) {
  journal_.Record("SetupUninstallOEMInfA " + infFileName);
  uninstallRequests.emplace_back(infFileName, flags);
  if (machine_.Planned("SetupUninstallOEMInfA")) return false;
  if (!SameText(infFileName.substr(0, 3), "oem") || infFileName.find('\\') != std::string::npos) {
    machine_.lastError = kErrorInvalidParameter;
    return false;
  }
  const std::string path = InfPath(infFileName);
  if (!files_.Content(path)) {
    machine_.lastError = kErrorFileNotFound;
    return false;
  }
  if (std::any_of(infsInUse.begin(), infsInUse.end(), [&](const std::string& n) { return SameText(n, infFileName); })) {
    machine_.lastError = kErrorInfInUseByDevices;
    return false;
  }
  // The INF goes with its precompiled companion.
  files_.DeleteFileA(path);
  const std::string companion = path.substr(0, path.size() - 4) + ".PNF";
  if (files_.Exists(companion)) files_.DeleteFileA(companion);
  return true;
}

InfHandle SimSetup::SetupOpenInfFileA(const std::string& fileName, const char* infClass, std::uint32_t infStyle,
                                      std::uint32_t* errorLine) {
  journal_.Record("SetupOpenInfFileA " + fileName);
  openedInfs.push_back(fileName);
  if (errorLine != nullptr) *errorLine = 0;
  if (machine_.Planned("SetupOpenInfFileA")) return kInvalidInfHandle;
  std::shared_ptr<const SimInfFile> inf = Parsed(InfPath(fileName));
  if (inf == nullptr) {
    machine_.lastError = kErrorFileNotFound;
    return kInvalidInfHandle;
  }
  const SimInfSection* version = inf->Section("Version");
  const SimInfLine* classLine = nullptr;
  if (version != nullptr) {
    for (const SimInfLine& line : version->lines) {
      if (line.key && SameText(*line.key, "Class") && !line.fields.empty()) classLine = &line;
    }
  }
  if (((infStyle & kInfStyleWin4) != 0 && !inf->IsWin4Style()) ||
      (infClass != nullptr && (classLine == nullptr || !SameText(classLine->fields[0], infClass)))) {
    machine_.lastError = kErrorWrongInfStyle;
    return kInvalidInfHandle;
  }
  const InfHandle handle = nextHandle_++;
  infs_.emplace(handle, std::move(inf));
  ++openInfFiles;
  return handle;
}

bool SimSetup::SetupFindFirstLineA(InfHandle inf, const std::string& section, const char* key, InfContext& context) {
  std::string call = "SetupFindFirstLineA " + section;
  if (key != nullptr) call.append(" ").append(key);
  journal_.Record(call);
  if (machine_.Planned("SetupFindFirstLineA")) return false;
  auto found = infs_.find(inf);
  if (found == infs_.end()) {
    machine_.lastError = kErrorInvalidHandle;
    return false;
  }
  const SimInfFile& file = *found->second;
  for (std::uint32_t s = 0; s < file.sections.size(); ++s) {
    if (!SameText(file.sections[s].name, section)) continue;
    const std::vector<SimInfLine>& lines = file.sections[s].lines;
    for (std::uint32_t l = 0; l < lines.size(); ++l) {
      if (key == nullptr || (lines[l].key && SameText(*lines[l].key, key))) {
        context = InfContext{inf, inf, s, l};
        return true;
      }
    }
    machine_.lastError = kErrorLineNotFound;
    return false;
  }
  machine_.lastError = kErrorSectionNotFound;
  return false;
}

const SimInfLine* SimSetup::Line(const InfContext& context) const {
  auto found = infs_.find(context.currentInf);
  if (found == infs_.end() || context.section >= found->second->sections.size()) return nullptr;
  const std::vector<SimInfLine>& lines = found->second->sections[context.section].lines;
  return context.line < lines.size() ? &lines[context.line] : nullptr;
}

bool SimSetup::SetupGetStringFieldA(const InfContext& context, std::uint32_t fieldIndex, char* returnBuffer,
                                    std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  journal_.Record("SetupGetStringFieldA " + std::to_string(fieldIndex));
  if (machine_.Planned("SetupGetStringFieldA")) return false;
  const SimInfLine* line = Line(context);
  if (line == nullptr || fieldIndex > line->fields.size()) {
    machine_.lastError = kErrorInvalidParameter;
    return false;
  }
  const std::string value = fieldIndex == 0 ? line->key.value_or(std::string()) : line->fields[fieldIndex - 1];
  bool fitted = false;
  const std::uint32_t needed = CopyText(value, returnBuffer, returnBufferSize, fitted);
  if (requiredSize != nullptr) *requiredSize = needed;
  if (returnBuffer == nullptr) return true;
  if (!fitted) {
    machine_.lastError = kErrorInsufficientBuffer;
    return false;
  }
  return true;
}

void SimSetup::SetupCloseInfFile(InfHandle inf) {
  journal_.Record("SetupCloseInfFile");
  machine_.Planned("SetupCloseInfFile");  // no result to fail: recorded only
  if (infs_.erase(inf) != 0) --openInfFiles;
}

bool SimSetup::SetupCopyOEMInfA(const std::string& sourceInfFileName, const char* oemSourceMediaLocation,
                                std::uint32_t oemSourceMediaType, std::uint32_t copyStyle, char* destinationInfFileName,
                                std::uint32_t destinationInfFileNameSize, std::uint32_t* requiredSize,
                                char** destinationInfFileNameComponent) {
  journal_.Record("SetupCopyOEMInfA " + std::to_string(copyStyle));
  SimStaging staging{sourceInfFileName,
                     oemSourceMediaLocation ? std::optional<std::string>(oemSourceMediaLocation) : std::nullopt,
                     oemSourceMediaType,
                     copyStyle,
                     destinationInfFileNameSize,
                     std::string()};
  auto finish = [&](bool result) {
    stagings.push_back(staging);
    return result;
  };
  if (machine_.Planned("SetupCopyOEMInfA")) return finish(false);
  const std::optional<std::string> content = Read(sourceInfFileName);
  if (!content) {
    machine_.lastError = kErrorFileNotFound;
    return finish(false);
  }
  if (!SimInfFile::Parse(*content).IsWin4Style()) {
    machine_.lastError = kErrorWrongInfStyle;
    return finish(false);
  }
  // An identical OEM INF is reused; otherwise the copy takes the lowest free oemN.inf.
  std::string name;
  for (const std::string& existing : InfNames()) {
    if (SameText(existing.substr(0, 3), "oem") && Read(InfPath(existing)) == content) name = existing;
  }
  for (int n = 0; name.empty(); ++n) {
    const std::string candidate = "oem" + std::to_string(n) + ".inf";
    if (!files_.Exists(InfPath(candidate))) name = candidate;
  }
  const std::string destination = InfPath(name);
  bool fitted = false;
  const std::uint32_t needed = CopyText(destination, destinationInfFileName, destinationInfFileNameSize, fitted);
  if (requiredSize != nullptr) *requiredSize = needed;
  if (destinationInfFileName != nullptr && !fitted) {
    machine_.lastError = kErrorInsufficientBuffer;
    return finish(false);
  }
  files_.AddFile(destination, *content);
  if (destinationInfFileNameComponent != nullptr && destinationInfFileName != nullptr) {
    *destinationInfFileNameComponent = destinationInfFileName + (destination.size() - name.size());
  }
  staging.destination = destination;
  return finish(true);
}

DeviceInfoSet SimSetup::SetupDiGetClassDevsA(const std::array<std::uint8_t, 16>* classGuid, const char* enumerator,
                                             WindowHandle, std::uint32_t flags) {
  journal_.Record("SetupDiGetClassDevsA");
  deviceSetFlags.push_back(flags);
  if (machine_.Planned("SetupDiGetClassDevsA")) return kInvalidDeviceInfoSet;
  if ((classGuid == nullptr && (flags & kDigcfAllClasses) == 0) || enumerator != nullptr) {
    machine_.lastError = kErrorInvalidParameter;
    return kInvalidDeviceInfoSet;
  }
  DeviceSet set;
  for (const auto& [devInst, device] : devices_) {
    if (devInst == kRootDevInst) continue;
    if ((flags & kDigcfPresent) != 0 && !device.present) continue;
    set.members.push_back(devInst);
  }
  const DeviceInfoSet handle = nextHandle_++;
  sets_.emplace(handle, std::move(set));
  ++openDeviceSets;
  return handle;
}

SimSetup::DeviceSet* SimSetup::FindSet(DeviceInfoSet set) {
  auto found = sets_.find(set);
  if (found == sets_.end()) {
    machine_.lastError = kErrorInvalidHandle;
    return nullptr;
  }
  return &found->second;
}

std::optional<DevInst> SimSetup::Member(const DeviceSet& set, const SpDevInfoData* deviceInfo) {
  if (deviceInfo == nullptr || deviceInfo->cbSize != kSpDevInfoDataSize) {
    machine_.lastError = kErrorInvalidUserBuffer;
    return std::nullopt;
  }
  // The members are in ascending order, as SetupDiGetClassDevsA collects them.
  if (!std::binary_search(set.members.begin(), set.members.end(), deviceInfo->devInst)) {
    machine_.lastError = kErrorInvalidParameter;
    return std::nullopt;
  }
  return deviceInfo->devInst;
}

bool SimSetup::SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t memberIndex, SpDevInfoData& deviceInfo) {
  if (machine_.Planned("SetupDiEnumDeviceInfo")) return false;
  DeviceSet* devices = FindSet(set);
  if (devices == nullptr) return false;
  if (deviceInfo.cbSize != kSpDevInfoDataSize) {
    machine_.lastError = kErrorInvalidUserBuffer;
    return false;
  }
  // Endless: the first member whatever the index, as if the enumeration never moved on.
  if (machine_.faults.IsEndless("SetupDiEnumDeviceInfo") && !devices->members.empty()) memberIndex = 0;
  if (memberIndex >= devices->members.size()) {
    machine_.lastError = kErrorNoMoreItems;
    return false;
  }
  deviceInfo.devInst = devices->members[memberIndex];
  deviceInfo.classGuid = {};
  deviceInfo.reserved = deviceInfo.devInst;
  return true;
}

bool SimSetup::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  journal_.Record("SetupDiDestroyDeviceInfoList");
  if (machine_.Planned("SetupDiDestroyDeviceInfoList")) return false;
  if (sets_.erase(set) == 0) {
    machine_.lastError = kErrorInvalidHandle;
    return false;
  }
  --openDeviceSets;
  return true;
}

bool SimSetup::SetupDiSetClassInstallParamsA(DeviceInfoSet set, SpDevInfoData* deviceInfo,
                                             const SpRemoveDeviceParams* classInstallParams,
                                             std::uint32_t classInstallParamsSize) {
  if (machine_.Planned("SetupDiSetClassInstallParamsA")) return false;
  DeviceSet* devices = FindSet(set);
  if (devices == nullptr) return false;
  const std::optional<DevInst> member = Member(*devices, deviceInfo);
  if (!member) return false;
  if (classInstallParams == nullptr || classInstallParams->classInstallHeader.cbSize != sizeof(SpClassInstallHeader) ||
      classInstallParams->classInstallHeader.installFunction != kDifRemove ||
      classInstallParamsSize != sizeof(SpRemoveDeviceParams)) {
    machine_.lastError = kErrorInvalidParameter;
    return false;
  }
  devices->removalParams[*member] = *classInstallParams;
  return true;
}

bool SimSetup::SetupDiCallClassInstaller(std::uint32_t installFunction, DeviceInfoSet set, SpDevInfoData* deviceInfo) {
  if (machine_.Planned("SetupDiCallClassInstaller")) return false;
  DeviceSet* devices = FindSet(set);
  if (devices == nullptr) return false;
  const std::optional<DevInst> member = Member(*devices, deviceInfo);
  if (!member) return false;
  auto device = devices_.find(*member);
  if (device == devices_.end()) {
    machine_.lastError = kErrorNoSuchDevinst;
    return false;
  }
  SimClassInstallerCall call{installFunction, device->second.instanceId, std::nullopt, false};
  if (auto params = devices->removalParams.find(*member); params != devices->removalParams.end()) {
    call.params = params->second;
  }
  std::uint32_t refusal = 0;
  if (installFunction != kDifRemove) {
    refusal = kErrorDiDoDefault;
  } else if (machine_.is64BitWindows && !processIs64Bit) {
    refusal = kErrorInWow64;
  } else {
    refusal = device->second.removalRefusal;
  }
  if (refusal == 0) {
    call.removed = true;
    removedDevices.push_back(device->second.instanceId);
    if (device->second.present) awaitingRescan_.push_back(device->second);
    devices_.erase(device);
  } else {
    machine_.lastError = refusal;
  }
  classInstallerCalls.push_back(call);
  return refusal == 0;
}

ConfigRet SimSetup::CM_Get_Device_IDA(DevInst devInst, char* buffer, std::uint32_t bufferLen, std::uint32_t flags) {
  if (auto answer = machine_.faults.Consult("CM_Get_Device_IDA")) return *answer;  // a CONFIGRET
  auto device = devices_.find(devInst);
  if (device == devices_.end()) return kCrInvalidDevNode;
  if (flags != 0) return kCrInvalidFlag;
  if (device->second.idRefusal != kCrSuccess) return device->second.idRefusal;
  const std::string& id = device->second.instanceId;
  if (buffer == nullptr || bufferLen < id.size() + 1) return kCrBufferSmall;
  std::memcpy(buffer, id.c_str(), id.size() + 1);
  return kCrSuccess;
}

ConfigRet SimSetup::CM_Locate_DevNodeA(DevInst& devInst, const char* deviceId, std::uint32_t flags) {
  journal_.Record("CM_Locate_DevNodeA");
  if (auto answer = machine_.faults.Consult("CM_Locate_DevNodeA")) return *answer;  // a CONFIGRET
  if (locateAnswer != kCrSuccess) return locateAnswer;
  if (flags != kCmLocateDevNodeNormal) return kCrInvalidFlag;
  const std::string wanted = deviceId == nullptr || *deviceId == '\0' ? kRootInstanceId : deviceId;
  for (const auto& [inst, device] : devices_) {
    if (SameText(device.instanceId, wanted) && device.present) {
      devInst = inst;
      return kCrSuccess;
    }
  }
  return kCrNoSuchDevNode;
}

ConfigRet SimSetup::CM_Reenumerate_DevNode(DevInst devInst, std::uint32_t flags) {
  journal_.Record("CM_Reenumerate_DevNode");
  reenumerations.emplace_back(devInst, flags);
  if (auto answer = machine_.faults.Consult("CM_Reenumerate_DevNode")) return *answer;  // a CONFIGRET
  if (reenumerateAnswer != kCrSuccess) return reenumerateAnswer;
  if (devices_.count(devInst) == 0) return kCrInvalidDevNode;
  if (devInst == kRootDevInst) {
    for (const SimDevice& device : awaitingRescan_) AddDevice(device);
    awaitingRescan_.clear();
  }
  return kCrSuccess;
}

void SimSetup::AddInf(const std::string& name, const std::string& content) {
  files_.AddFile(InfPath(name), content);
  Parsed(InfPath(name));  // an installed INF is precompiled
}

bool SimSetup::HasInf(const std::string& name) const { return files_.Exists(InfPath(name)); }

std::vector<std::string> SimSetup::InfNames() const {
  std::vector<std::string> names;
  const std::string directory = kInfDirectory;
  for (const std::string& path : files_.Below(directory)) {
    const std::string name = path.substr(directory.size() + 1);
    if (name.find('\\') == std::string::npos && !files_.IsDirectory(path)) names.push_back(name);
  }
  return names;
}

DevInst SimSetup::AddDevice(const SimDevice& device) {
  const DevInst devInst = nextDevInst_++;
  devices_[devInst] = device;
  return devInst;
}

bool SimSetup::HasDevice(const std::string& instanceId) const {
  return std::any_of(devices_.begin(), devices_.end(),
                     [&](const auto& entry) { return SameText(entry.second.instanceId, instanceId); });
}

std::vector<std::string> SimSetup::DeviceIds() const {
  std::vector<std::string> ids;
  for (const auto& [devInst, device] : devices_) {
    if (devInst != kRootDevInst) ids.push_back(device.instanceId);
  }
  return ids;
}

}  // namespace platform::sim
