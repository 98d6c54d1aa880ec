#include "platform/win32/Win32Setup.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>
// clang-format on

#include <cstring>

namespace platform::win32 {
namespace {

static_assert(sizeof(SP_DEVINFO_DATA) == kSpDevInfoDataSize, "the seam's record size is the one Windows checks");
static_assert(sizeof(SP_REMOVEDEVICE_PARAMS) == sizeof(SpRemoveDeviceParams));
static_assert(sizeof(GUID) == 16);

HINF ToInf(InfHandle inf) { return reinterpret_cast<HINF>(inf); }
HDEVINFO ToSet(DeviceInfoSet set) { return reinterpret_cast<HDEVINFO>(set); }

// Windows' record of a device as the seam holds it, and back.
SP_DEVINFO_DATA ToWindows(const SpDevInfoData& seam) {
  SP_DEVINFO_DATA data{};
  data.cbSize = seam.cbSize;
  std::memcpy(&data.ClassGuid, seam.classGuid.data(), sizeof(GUID));
  data.DevInst = seam.devInst;
  data.Reserved = seam.reserved;
  return data;
}

void FromWindows(const SP_DEVINFO_DATA& data, SpDevInfoData& seam) {
  std::memcpy(seam.classGuid.data(), &data.ClassGuid, sizeof(GUID));
  seam.devInst = data.DevInst;
  seam.reserved = data.Reserved;
}

INFCONTEXT ToWindows(const InfContext& seam) {
  INFCONTEXT context{};
  context.Inf = ToInf(seam.inf);
  context.CurrentInf = ToInf(seam.currentInf);
  context.Section = seam.section;
  context.Line = seam.line;
  return context;
}

// Calls a Setup API function on the seam's optional device record: Windows' copy in, changes back out.
template <typename Call>
BOOL WithDevice(SpDevInfoData* deviceInfo, Call call) {
  if (deviceInfo == nullptr) return call(nullptr);
  SP_DEVINFO_DATA data = ToWindows(*deviceInfo);
  const BOOL result = call(&data);
  FromWindows(data, *deviceInfo);
  return result;
}

}  // namespace

bool Win32Setup::SetupGetInfFileListA(const char* directoryPath, std::uint32_t infStyle, char* returnBuffer,
                                      std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  DWORD required = 0;
  const BOOL result = ::SetupGetInfFileListA(directoryPath, infStyle, returnBuffer, returnBufferSize,
                                             requiredSize != nullptr ? &required : nullptr);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

bool Win32Setup::SetupUninstallOEMInfA(const std::string& infFileName, std::uint32_t flags) {
  return ::SetupUninstallOEMInfA(infFileName.c_str(), flags, nullptr) != FALSE;
}

InfHandle Win32Setup::SetupOpenInfFileA(const std::string& fileName, const char* infClass, std::uint32_t infStyle,
                                        std::uint32_t* errorLine) {
  UINT line = 0;
  const HINF inf = ::SetupOpenInfFileA(fileName.c_str(), infClass, infStyle, errorLine != nullptr ? &line : nullptr);
  if (errorLine != nullptr) *errorLine = line;
  return inf == INVALID_HANDLE_VALUE ? kInvalidInfHandle : reinterpret_cast<InfHandle>(inf);
}

bool Win32Setup::SetupFindFirstLineA(InfHandle inf, const std::string& section, const char* key, InfContext& context) {
  INFCONTEXT found{};
  if (!::SetupFindFirstLineA(ToInf(inf), section.c_str(), key, &found)) return false;
  context.inf = reinterpret_cast<InfHandle>(found.Inf);
  context.currentInf = reinterpret_cast<InfHandle>(found.CurrentInf);
  context.section = found.Section;
  context.line = found.Line;
  return true;
}

bool Win32Setup::SetupGetStringFieldA(const InfContext& context, std::uint32_t fieldIndex, char* returnBuffer,
                                      std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  INFCONTEXT windowsContext = ToWindows(context);
  DWORD required = 0;
  const BOOL result = ::SetupGetStringFieldA(&windowsContext, fieldIndex, returnBuffer, returnBufferSize,
                                             requiredSize != nullptr ? &required : nullptr);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

void Win32Setup::SetupCloseInfFile(InfHandle inf) { ::SetupCloseInfFile(ToInf(inf)); }

bool Win32Setup::SetupCopyOEMInfA(const std::string& sourceInfFileName, const char* oemSourceMediaLocation,
                                  std::uint32_t oemSourceMediaType, std::uint32_t copyStyle,
                                  char* destinationInfFileName, std::uint32_t destinationInfFileNameSize,
                                  std::uint32_t* requiredSize, char** destinationInfFileNameComponent) {
  DWORD required = 0;
  const BOOL result = ::SetupCopyOEMInfA(
      sourceInfFileName.c_str(), oemSourceMediaLocation, oemSourceMediaType, copyStyle, destinationInfFileName,
      destinationInfFileNameSize, requiredSize != nullptr ? &required : nullptr, destinationInfFileNameComponent);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

DeviceInfoSet Win32Setup::SetupDiGetClassDevsA(const std::array<std::uint8_t, 16>* classGuid, const char* enumerator,
                                               WindowHandle parent, std::uint32_t flags) {
  GUID guid{};
  if (classGuid != nullptr) std::memcpy(&guid, classGuid->data(), sizeof(GUID));
  const HDEVINFO set =
      ::SetupDiGetClassDevsA(classGuid != nullptr ? &guid : nullptr, enumerator, reinterpret_cast<HWND>(parent), flags);
  return set == INVALID_HANDLE_VALUE ? kInvalidDeviceInfoSet : reinterpret_cast<DeviceInfoSet>(set);
}

bool Win32Setup::SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t memberIndex, SpDevInfoData& deviceInfo) {
  return WithDevice(&deviceInfo, [&](SP_DEVINFO_DATA* data) {
           return ::SetupDiEnumDeviceInfo(ToSet(set), memberIndex, data);
         }) != FALSE;
}

bool Win32Setup::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  return ::SetupDiDestroyDeviceInfoList(ToSet(set)) != FALSE;
}

bool Win32Setup::SetupDiSetClassInstallParamsA(DeviceInfoSet set, SpDevInfoData* deviceInfo,
                                               const SpRemoveDeviceParams* classInstallParams,
                                               std::uint32_t classInstallParamsSize) {
  SP_REMOVEDEVICE_PARAMS removal{};
  if (classInstallParams != nullptr) {
    removal.ClassInstallHeader.cbSize = classInstallParams->classInstallHeader.cbSize;
    removal.ClassInstallHeader.InstallFunction = classInstallParams->classInstallHeader.installFunction;
    removal.Scope = classInstallParams->scope;
    removal.HwProfile = classInstallParams->hwProfile;
  }
  return WithDevice(deviceInfo, [&](SP_DEVINFO_DATA* data) {
           return ::SetupDiSetClassInstallParamsA(ToSet(set), data,
                                                  classInstallParams != nullptr ? &removal.ClassInstallHeader : nullptr,
                                                  classInstallParamsSize);
         }) != FALSE;
}

bool Win32Setup::SetupDiCallClassInstaller(std::uint32_t installFunction, DeviceInfoSet set,
                                           SpDevInfoData* deviceInfo) {
  return WithDevice(deviceInfo, [&](SP_DEVINFO_DATA* data) {
           return ::SetupDiCallClassInstaller(installFunction, ToSet(set), data);
         }) != FALSE;
}

ConfigRet Win32Setup::CM_Get_Device_IDA(DevInst devInst, char* buffer, std::uint32_t bufferLen, std::uint32_t flags) {
  return ::CM_Get_Device_IDA(devInst, buffer, bufferLen, flags);
}

ConfigRet Win32Setup::CM_Locate_DevNodeA(DevInst& devInst, const char* deviceId, std::uint32_t flags) {
  DEVINST found = 0;
  const CONFIGRET result = ::CM_Locate_DevNodeA(&found, const_cast<char*>(deviceId), flags);
  devInst = found;
  return result;
}

ConfigRet Win32Setup::CM_Reenumerate_DevNode(DevInst devInst, std::uint32_t flags) {
  return ::CM_Reenumerate_DevNode(devInst, flags);
}

}  // namespace platform::win32
