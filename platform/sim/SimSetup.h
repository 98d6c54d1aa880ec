// The simulated Setup API and configuration manager: the Windows INF directory (C:\windows\inf in the
// simulated file system) with its OEM packages, and a device tree of present and non-present nodes with
// class installers that may refuse. Where the simulation must choose, it answers as Windows does:
// DIF_REMOVE from a 32-bit process on 64-bit Windows is refused with ERROR_IN_WOW64, staging names copies
// oemN.inf (and reuses an identical one), the INF list reports ERROR_INSUFFICIENT_BUFFER with its size.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/SetupApi.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimInfFile.h"
#include "platform/sim/SimJournal.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

struct SimDevice {
  std::string instanceId;
  bool present = true;               // attached now; a node left from an earlier connection is not
  std::uint32_t removalRefusal = 0;  // the class installer refuses DIF_REMOVE with this error; 0 removes
  std::uint32_t idRefusal = 0;       // CM_Get_Device_IDA answers this CONFIGRET; 0 gives the identifier
};

// One class-installer call as the simulated Setup API received it.
struct SimClassInstallerCall {
  std::uint32_t installFunction = 0;
  std::string instanceId;
  std::optional<SpRemoveDeviceParams> params;  // the parameters set for the device beforehand, if any
  bool removed = false;
};

struct SimStaging {
  std::string source;
  std::optional<std::string> mediaLocation;
  std::uint32_t mediaType = 0;
  std::uint32_t copyStyle = 0;
  std::uint32_t destinationSize = 0;
  std::string destination;  // the full path Windows reported; empty when the call failed
};

class SimSetup : public SetupApi {
 public:
  static constexpr const char* kInfDirectory = "C:\\windows\\inf";
  static constexpr const char* kRootInstanceId = "HTREE\\ROOT\\0";

  SimSetup(SimMachine& machine, SimFiles& files, SimJournal& journal);

  bool SetupGetInfFileListA(const char* directoryPath, std::uint32_t infStyle, char* returnBuffer,
                            std::uint32_t returnBufferSize, std::uint32_t* requiredSize) override;
  bool SetupUninstallOEMInfA(const std::string& infFileName, std::uint32_t flags) override;
  InfHandle SetupOpenInfFileA(const std::string& fileName, const char* infClass, std::uint32_t infStyle,
                              std::uint32_t* errorLine) override;
  bool SetupFindFirstLineA(InfHandle inf, const std::string& section, const char* key, InfContext& context) override;
  bool SetupGetStringFieldA(const InfContext& context, std::uint32_t fieldIndex, char* returnBuffer,
                            std::uint32_t returnBufferSize, std::uint32_t* requiredSize) override;
  void SetupCloseInfFile(InfHandle inf) override;
  bool SetupCopyOEMInfA(const std::string& sourceInfFileName, const char* oemSourceMediaLocation,
                        std::uint32_t oemSourceMediaType, std::uint32_t copyStyle, char* destinationInfFileName,
                        std::uint32_t destinationInfFileNameSize, std::uint32_t* requiredSize,
                        char** destinationInfFileNameComponent) override;
  DeviceInfoSet SetupDiGetClassDevsA(const std::array<std::uint8_t, 16>* classGuid, const char* enumerator,
                                     WindowHandle parent, std::uint32_t flags) override;
  bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t memberIndex, SpDevInfoData& deviceInfo) override;
  bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) override;
  bool SetupDiSetClassInstallParamsA(DeviceInfoSet set, SpDevInfoData* deviceInfo,
                                     const SpRemoveDeviceParams* classInstallParams,
                                     std::uint32_t classInstallParamsSize) override;
  bool SetupDiCallClassInstaller(std::uint32_t installFunction, DeviceInfoSet set, SpDevInfoData* deviceInfo) override;
  ConfigRet CM_Get_Device_IDA(DevInst devInst, char* buffer, std::uint32_t bufferLen, std::uint32_t flags) override;
  ConfigRet CM_Locate_DevNodeA(DevInst& devInst, const char* deviceId, std::uint32_t flags) override;
  ConfigRet CM_Reenumerate_DevNode(DevInst devInst, std::uint32_t flags) override;

  // --- for tests ---
  // An INF file of the system's INF directory.
  void AddInf(const std::string& name, const std::string& content);
  bool HasInf(const std::string& name) const;
  // The names in the system's INF directory, in their own letter case.
  std::vector<std::string> InfNames() const;
  DevInst AddDevice(const SimDevice& device);
  bool HasDevice(const std::string& instanceId) const;
  std::vector<std::string> DeviceIds() const;

  // The calling process is the 64-bit installer part rather than the 32-bit program.
  bool processIs64Bit = false;
  // Uninstalls of these INF names (letter case ignored) are refused with ERROR_INF_IN_USE_BY_DEVICES.
  std::set<std::string> infsInUse;
  // Answer of CM_Locate_DevNodeA and CM_Reenumerate_DevNode; CR_SUCCESS unless a test says otherwise.
  ConfigRet locateAnswer = kCrSuccess;
  ConfigRet reenumerateAnswer = kCrSuccess;

  std::vector<std::pair<std::string, std::uint32_t>> uninstallRequests;  // name and flags, in order
  std::vector<std::string> openedInfs;                                   // names as asked for
  std::vector<std::uint32_t> infListBufferSizes;                         // of each SetupGetInfFileListA
  std::vector<std::uint32_t> deviceSetFlags;                             // of each SetupDiGetClassDevsA
  std::vector<SimClassInstallerCall> classInstallerCalls;
  std::vector<std::string> removedDevices;
  std::vector<SimStaging> stagings;
  std::vector<std::pair<DevInst, std::uint32_t>> reenumerations;  // node and flags
  int openInfFiles = 0;
  int openDeviceSets = 0;

 private:
  struct DeviceSet {
    std::vector<DevInst> members;
    std::map<DevInst, SpRemoveDeviceParams> removalParams;
  };

  std::string InfPath(const std::string& fileName) const;
  std::optional<std::string> Read(const std::string& path) const;
  // The file at this path as the INF reader reads it; null when there is none. A file is parsed again
  // only when its text has changed, as Windows keeps its INFs precompiled.
  std::shared_ptr<const SimInfFile> Parsed(const std::string& path);
  const SimInfLine* Line(const InfContext& context) const;
  // The member of the set the record names; sets ERROR_INVALID_PARAMETER / ERROR_INVALID_USER_BUFFER.
  DeviceSet* FindSet(DeviceInfoSet set);
  std::optional<DevInst> Member(const DeviceSet& set, const SpDevInfoData* deviceInfo);

  SimMachine& machine_;
  SimFiles& files_;
  SimJournal& journal_;
  struct ParsedInf {
    std::string text;
    std::shared_ptr<const SimInfFile> inf;
  };
  std::map<InfHandle, std::shared_ptr<const SimInfFile>> infs_;
  std::map<std::string, ParsedInf> parsedInfs_;  // by path as read
  std::map<DeviceInfoSet, DeviceSet> sets_;
  std::map<DevInst, SimDevice> devices_;
  std::vector<SimDevice> awaitingRescan_;  // attached devices removed, found again at the next rescan
  std::uintptr_t nextHandle_ = 0x900;
  DevInst nextDevInst_ = 2;
};

}  // namespace platform::sim
