// The Setup API and the configuration manager on real Windows: each call forwards to the Win32 call of
// the same name, translating the seam's records to Windows' own. setupapi.dll is not imported: it is
// loaded from the system directory when the backend is made (so make it at start, while WOW64
// redirection is on), and a call whose entry it lacks fails with ERROR_PROC_NOT_FOUND.
#pragma once

#include <memory>

#include "platform/SetupApi.h"

namespace platform::win32 {

class SystemLibrary;

class Win32Setup : public SetupApi {
 public:
  Win32Setup();
  ~Win32Setup() override;
  Win32Setup(const Win32Setup&) = delete;
  Win32Setup& operator=(const Win32Setup&) = delete;

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

 private:
  std::unique_ptr<SystemLibrary> setupapi_;
};

}  // namespace platform::win32
