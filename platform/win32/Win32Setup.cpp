#include "platform/win32/Win32Setup.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>
// clang-format on

#include <cstring>

#include "platform/win32/SystemLibrary.h"

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

// What a call answers when setupapi.dll lacks its entry: its failure value, with the loader's error.
template <typename Result>
Result Missing(Result failure) {
  ::SetLastError(ERROR_PROC_NOT_FOUND);
  return failure;
}

}  // namespace

Win32Setup::Win32Setup() : setupapi_(std::make_unique<SystemLibrary>("setupapi.dll")) {}

Win32Setup::~Win32Setup() = default;

bool Win32Setup::SetupGetInfFileListA(const char* directoryPath, std::uint32_t infStyle, char* returnBuffer,
                                      std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  const auto call = setupapi_->Entry<decltype(&::SetupGetInfFileListA)>("SetupGetInfFileListA");
  if (call == nullptr) return Missing(false);
  DWORD required = 0;
  const BOOL result =
      call(directoryPath, infStyle, returnBuffer, returnBufferSize, requiredSize != nullptr ? &required : nullptr);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

bool Win32Setup::SetupUninstallOEMInfA(const std::string& infFileName, std::uint32_t flags) {
  const auto call = setupapi_->Entry<decltype(&::SetupUninstallOEMInfA)>("SetupUninstallOEMInfA");
  if (call == nullptr) return Missing(false);
  return call(infFileName.c_str(), flags, nullptr) != FALSE;
}

InfHandle Win32Setup::SetupOpenInfFileA(const std::string& fileName, const char* infClass, std::uint32_t infStyle,
                                        std::uint32_t* errorLine) {
  const auto call = setupapi_->Entry<decltype(&::SetupOpenInfFileA)>("SetupOpenInfFileA");
  if (call == nullptr) return Missing(kInvalidInfHandle);
  UINT line = 0;
  const HINF inf = call(fileName.c_str(), infClass, infStyle, errorLine != nullptr ? &line : nullptr);
  if (errorLine != nullptr) *errorLine = line;
  return inf == INVALID_HANDLE_VALUE ? kInvalidInfHandle : reinterpret_cast<InfHandle>(inf);
}

bool Win32Setup::SetupFindFirstLineA(InfHandle inf, const std::string& section, const char* key, InfContext& context) {
  const auto call = setupapi_->Entry<decltype(&::SetupFindFirstLineA)>("SetupFindFirstLineA");
  if (call == nullptr) return Missing(false);
  INFCONTEXT found{};
  if (!call(ToInf(inf), section.c_str(), key, &found)) return false;
  context.inf = reinterpret_cast<InfHandle>(found.Inf);
  context.currentInf = reinterpret_cast<InfHandle>(found.CurrentInf);
  context.section = found.Section;
  context.line = found.Line;
  return true;
}

bool Win32Setup::SetupGetStringFieldA(const InfContext& context, std::uint32_t fieldIndex, char* returnBuffer,
                                      std::uint32_t returnBufferSize, std::uint32_t* requiredSize) {
  const auto call = setupapi_->Entry<decltype(&::SetupGetStringFieldA)>("SetupGetStringFieldA");
  if (call == nullptr) return Missing(false);
  INFCONTEXT windowsContext = ToWindows(context);
  DWORD required = 0;
  const BOOL result =
      call(&windowsContext, fieldIndex, returnBuffer, returnBufferSize, requiredSize != nullptr ? &required : nullptr);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

void Win32Setup::SetupCloseInfFile(InfHandle inf) {
  if (const auto call = setupapi_->Entry<decltype(&::SetupCloseInfFile)>("SetupCloseInfFile")) call(ToInf(inf));
}

bool Win32Setup::SetupCopyOEMInfA(const std::string& sourceInfFileName, const char* oemSourceMediaLocation,
                                  std::uint32_t oemSourceMediaType, std::uint32_t copyStyle,
                                  char* destinationInfFileName, std::uint32_t destinationInfFileNameSize,
                                  std::uint32_t* requiredSize, char** destinationInfFileNameComponent) {
  const auto call = setupapi_->Entry<decltype(&::SetupCopyOEMInfA)>("SetupCopyOEMInfA");
  if (call == nullptr) return Missing(false);
  DWORD required = 0;
  const BOOL result =
      call(sourceInfFileName.c_str(), oemSourceMediaLocation, oemSourceMediaType, copyStyle, destinationInfFileName,
           destinationInfFileNameSize, requiredSize != nullptr ? &required : nullptr, destinationInfFileNameComponent);
  if (requiredSize != nullptr) *requiredSize = required;
  return result != FALSE;
}

DeviceInfoSet Win32Setup::SetupDiGetClassDevsA(const std::array<std::uint8_t, 16>* classGuid, const char* enumerator,
                                               WindowHandle parent, std::uint32_t flags) {
  const auto call = setupapi_->Entry<decltype(&::SetupDiGetClassDevsA)>("SetupDiGetClassDevsA");
  if (call == nullptr) return Missing(kInvalidDeviceInfoSet);
  GUID guid{};
  if (classGuid != nullptr) std::memcpy(&guid, classGuid->data(), sizeof(GUID));
  const HDEVINFO set = call(classGuid != nullptr ? &guid : nullptr, enumerator, reinterpret_cast<HWND>(parent), flags);
  return set == INVALID_HANDLE_VALUE ? kInvalidDeviceInfoSet : reinterpret_cast<DeviceInfoSet>(set);
}

bool Win32Setup::SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t memberIndex, SpDevInfoData& deviceInfo) {
  const auto call = setupapi_->Entry<decltype(&::SetupDiEnumDeviceInfo)>("SetupDiEnumDeviceInfo");
  if (call == nullptr) return Missing(false);
  return WithDevice(&deviceInfo, [&](SP_DEVINFO_DATA* data) { return call(ToSet(set), memberIndex, data); }) != FALSE;
}

bool Win32Setup::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  const auto call = setupapi_->Entry<decltype(&::SetupDiDestroyDeviceInfoList)>("SetupDiDestroyDeviceInfoList");
  if (call == nullptr) return Missing(false);
  return call(ToSet(set)) != FALSE;
}

bool Win32Setup::SetupDiSetClassInstallParamsA(DeviceInfoSet set, SpDevInfoData* deviceInfo,
                                               const SpRemoveDeviceParams* classInstallParams,
                                               std::uint32_t classInstallParamsSize) {
  const auto call = setupapi_->Entry<decltype(&::SetupDiSetClassInstallParamsA)>("SetupDiSetClassInstallParamsA");
  if (call == nullptr) return Missing(false);
  SP_REMOVEDEVICE_PARAMS removal{};
  if (classInstallParams != nullptr) {
    removal.ClassInstallHeader.cbSize = classInstallParams->classInstallHeader.cbSize;
    removal.ClassInstallHeader.InstallFunction = classInstallParams->classInstallHeader.installFunction;
    removal.Scope = classInstallParams->scope;
    removal.HwProfile = classInstallParams->hwProfile;
  }
  return WithDevice(deviceInfo, [&](SP_DEVINFO_DATA* data) {
           return call(ToSet(set), data, classInstallParams != nullptr ? &removal.ClassInstallHeader : nullptr,
                       classInstallParamsSize);
         }) != FALSE;
}

bool Win32Setup::SetupDiCallClassInstaller(std::uint32_t installFunction, DeviceInfoSet set,
                                           SpDevInfoData* deviceInfo) {
  const auto call = setupapi_->Entry<decltype(&::SetupDiCallClassInstaller)>("SetupDiCallClassInstaller");
  if (call == nullptr) return Missing(false);
  return WithDevice(deviceInfo, [&](SP_DEVINFO_DATA* data) { return call(installFunction, ToSet(set), data); }) !=
         FALSE;
}

ConfigRet Win32Setup::CM_Get_Device_IDA(DevInst devInst, char* buffer, std::uint32_t bufferLen, std::uint32_t flags) {
  const auto call = setupapi_->Entry<decltype(&::CM_Get_Device_IDA)>("CM_Get_Device_IDA");
  if (call == nullptr) return Missing<ConfigRet>(CR_FAILURE);
  return call(devInst, buffer, bufferLen, flags);
}

ConfigRet Win32Setup::CM_Locate_DevNodeA(DevInst& devInst, const char* deviceId, std::uint32_t flags) {
  const auto call = setupapi_->Entry<decltype(&::CM_Locate_DevNodeA)>("CM_Locate_DevNodeA");
  if (call == nullptr) return Missing<ConfigRet>(CR_FAILURE);
  DEVINST found = 0;
  const CONFIGRET result = call(&found, const_cast<char*>(deviceId), flags);
  devInst = found;
  return result;
}

ConfigRet Win32Setup::CM_Reenumerate_DevNode(DevInst devInst, std::uint32_t flags) {
  const auto call = setupapi_->Entry<decltype(&::CM_Reenumerate_DevNode)>("CM_Reenumerate_DevNode");
  if (call == nullptr) return Missing<ConfigRet>(CR_FAILURE);
  return call(devInst, flags);
}

}  // namespace platform::win32
