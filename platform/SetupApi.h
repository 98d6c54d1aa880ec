// setupapi: INF files, OEM driver packages, device information sets and the class installer, and the
// configuration manager (cfgmgr32). Each call mirrors the Win32 call of the same name: ANSI strings, the
// same flags and byte counts, null pointers where Windows takes them, BOOL results as bool with the reason
// in the thread's last error, CONFIGRET results as plain integers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/WinTypes.h"

namespace platform {

using InfHandle = std::uintptr_t;      // HINF
using DeviceInfoSet = std::uintptr_t;  // HDEVINFO
using DevInst = std::uint32_t;         // DEVINST
using ConfigRet = std::uint32_t;       // CONFIGRET

inline constexpr InfHandle kInvalidInfHandle = static_cast<InfHandle>(-1);
inline constexpr DeviceInfoSet kInvalidDeviceInfoSet = static_cast<DeviceInfoSet>(-1);

// INF styles, copy styles and media types
inline constexpr std::uint32_t kInfStyleWin4 = 2;
inline constexpr std::uint32_t kSpostPath = 1;
inline constexpr std::uint32_t kSpCopyNewerOrSame = 0x4;
inline constexpr std::uint32_t kSuoiForceDelete = 0x1;

// Device information sets and the class installer
inline constexpr std::uint32_t kDigcfPresent = 0x2;
inline constexpr std::uint32_t kDigcfAllClasses = 0x4;
inline constexpr std::uint32_t kDifRemove = 0x5;
inline constexpr std::uint32_t kDiRemoveDeviceGlobal = 0x1;

// Configuration manager
inline constexpr ConfigRet kCrSuccess = 0x00;
inline constexpr ConfigRet kCrFailure = 0x13;
inline constexpr ConfigRet kCrInvalidFlag = 0x04;
inline constexpr ConfigRet kCrInvalidDevNode = 0x05;
inline constexpr ConfigRet kCrNoSuchDevNode = 0x0D;
inline constexpr ConfigRet kCrBufferSmall = 0x1A;
inline constexpr std::uint32_t kCmLocateDevNodeNormal = 0;
inline constexpr std::uint32_t kCmReenumerateNormal = 0;

// Setup API errors (winerror.h, APPLICATION_ERROR_MASK | ERROR_SEVERITY_ERROR | code)
inline constexpr std::uint32_t kErrorWrongInfStyle = 0xE0000100;
inline constexpr std::uint32_t kErrorSectionNotFound = 0xE0000101;
inline constexpr std::uint32_t kErrorLineNotFound = 0xE0000102;
inline constexpr std::uint32_t kErrorInfInUseByDevices = 0xE000023C;
inline constexpr std::uint32_t kErrorInWow64 = 0xE0000235;

// INFCONTEXT: a position in an open INF, filled by SetupFindFirstLineA.
struct InfContext {
  InfHandle inf = 0;
  InfHandle currentInf = 0;
  std::uint32_t section = 0;
  std::uint32_t line = 0;
};

// SP_DEVINFO_DATA. Its size field is what Windows checks: 28 bytes in a 32-bit process, 32 in a 64-bit one.
struct SpDevInfoData {
  std::uint32_t cbSize = 0;
  std::array<std::uint8_t, 16> classGuid{};
  DevInst devInst = 0;
  std::uintptr_t reserved = 0;
};

constexpr std::uint32_t SpDevInfoDataSize(std::size_t pointerSize) { return pointerSize == 4 ? 28 : 32; }
inline constexpr std::uint32_t kSpDevInfoDataSize = SpDevInfoDataSize(sizeof(void*));

// SP_CLASSINSTALL_HEADER and SP_REMOVEDEVICE_PARAMS, byte for byte.
struct SpClassInstallHeader {
  std::uint32_t cbSize = 0;
  std::uint32_t installFunction = 0;
};

struct SpRemoveDeviceParams {
  SpClassInstallHeader classInstallHeader;
  std::uint32_t scope = 0;
  std::uint32_t hwProfile = 0;
};
static_assert(sizeof(SpClassInstallHeader) == 8 && sizeof(SpRemoveDeviceParams) == 16,
              "the records Windows reads have these sizes");

class SetupApi {
 public:
  virtual ~SetupApi() = default;

  // INF files and OEM driver packages. A null directory is the system's INF directory. The name list is
  // each bare name followed by a NUL, the whole ended by an empty name; requiredSize receives its byte count.
  virtual bool SetupGetInfFileListA(const char* directoryPath, std::uint32_t infStyle, char* returnBuffer,
                                    std::uint32_t returnBufferSize, std::uint32_t* requiredSize) = 0;
  // The reserved pointer Windows takes is always null.
  virtual bool SetupUninstallOEMInfA(const std::string& infFileName, std::uint32_t flags) = 0;
  // A bare file name is looked up in the system's INF directory; kInvalidInfHandle on failure.
  virtual InfHandle SetupOpenInfFileA(const std::string& fileName, const char* infClass, std::uint32_t infStyle,
                                      std::uint32_t* errorLine) = 0;
  virtual bool SetupFindFirstLineA(InfHandle inf, const std::string& section, const char* key, InfContext& context) = 0;
  // Field 0 is the key. With a null buffer and size 0 only requiredSize (characters, NUL included) is set.
  virtual bool SetupGetStringFieldA(const InfContext& context, std::uint32_t fieldIndex, char* returnBuffer,
                                    std::uint32_t returnBufferSize, std::uint32_t* requiredSize) = 0;
  virtual void SetupCloseInfFile(InfHandle inf) = 0;
  virtual bool SetupCopyOEMInfA(const std::string& sourceInfFileName, const char* oemSourceMediaLocation,
                                std::uint32_t oemSourceMediaType, std::uint32_t copyStyle, char* destinationInfFileName,
                                std::uint32_t destinationInfFileNameSize, std::uint32_t* requiredSize,
                                char** destinationInfFileNameComponent) = 0;

  // Device information sets and the class installer. A null class GUID with DIGCF_ALLCLASSES is every class.
  virtual DeviceInfoSet SetupDiGetClassDevsA(const std::array<std::uint8_t, 16>* classGuid, const char* enumerator,
                                             WindowHandle parent, std::uint32_t flags) = 0;
  virtual bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t memberIndex, SpDevInfoData& deviceInfo) = 0;
  virtual bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) = 0;
  virtual bool SetupDiSetClassInstallParamsA(DeviceInfoSet set, SpDevInfoData* deviceInfo,
                                             const SpRemoveDeviceParams* classInstallParams,
                                             std::uint32_t classInstallParamsSize) = 0;
  virtual bool SetupDiCallClassInstaller(std::uint32_t installFunction, DeviceInfoSet set,
                                         SpDevInfoData* deviceInfo) = 0;

  // Configuration manager. A null device id locates the root of the device tree.
  virtual ConfigRet CM_Get_Device_IDA(DevInst devInst, char* buffer, std::uint32_t bufferLen, std::uint32_t flags) = 0;
  virtual ConfigRet CM_Locate_DevNodeA(DevInst& devInst, const char* deviceId, std::uint32_t flags) = 0;
  virtual ConfigRet CM_Reenumerate_DevNode(DevInst devInst, std::uint32_t flags) = 0;
};

}  // namespace platform
