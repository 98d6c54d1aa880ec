#include "platform/win32/Win32Services.h"

#include <windows.h>

#include <cstddef>

namespace platform::win32 {
namespace {

static_assert(sizeof(EnumServiceStatusA) == sizeof(ENUM_SERVICE_STATUSA) &&
              offsetof(EnumServiceStatusA, ServiceStatus) == offsetof(ENUM_SERVICE_STATUSA, ServiceStatus));
static_assert(sizeof(QueryServiceConfigRecordA) == sizeof(QUERY_SERVICE_CONFIGA) &&
              offsetof(QueryServiceConfigRecordA, lpBinaryPathName) ==
                  offsetof(QUERY_SERVICE_CONFIGA, lpBinaryPathName));
static_assert(sizeof(ServiceStatus) == sizeof(SERVICE_STATUS));

SC_HANDLE ToWindows(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
ScHandle FromWindows(SC_HANDLE handle) { return reinterpret_cast<ScHandle>(handle); }

}  // namespace

ScHandle Win32Services::OpenSCManagerA(const char* machineName, const char* databaseName, std::uint32_t desiredAccess) {
  return FromWindows(::OpenSCManagerA(machineName, databaseName, desiredAccess));
}

bool Win32Services::EnumServicesStatusA(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                                        std::uint8_t* services, std::uint32_t bufSize, std::uint32_t* bytesNeeded,
                                        std::uint32_t* servicesReturned, std::uint32_t* resumeHandle) {
  DWORD needed = 0;
  DWORD returned = 0;
  DWORD resume = resumeHandle != nullptr ? *resumeHandle : 0;
  const BOOL result = ::EnumServicesStatusA(ToWindows(manager), serviceType, serviceState,
                                            reinterpret_cast<LPENUM_SERVICE_STATUSA>(services), bufSize, &needed,
                                            &returned, resumeHandle != nullptr ? &resume : nullptr);
  if (bytesNeeded != nullptr) *bytesNeeded = needed;
  if (servicesReturned != nullptr) *servicesReturned = returned;
  if (resumeHandle != nullptr) *resumeHandle = resume;
  return result != FALSE;
}

ScHandle Win32Services::OpenServiceA(ScHandle manager, const std::string& serviceName, std::uint32_t desiredAccess) {
  return FromWindows(::OpenServiceA(ToWindows(manager), serviceName.c_str(), desiredAccess));
}

bool Win32Services::QueryServiceConfigA(ScHandle service, std::uint8_t* serviceConfig, std::uint32_t bufSize,
                                        std::uint32_t* bytesNeeded) {
  DWORD needed = 0;
  const BOOL result = ::QueryServiceConfigA(ToWindows(service),
                                            reinterpret_cast<LPQUERY_SERVICE_CONFIGA>(serviceConfig), bufSize, &needed);
  if (bytesNeeded != nullptr) *bytesNeeded = needed;
  return result != FALSE;
}

bool Win32Services::ControlService(ScHandle service, std::uint32_t control, ServiceStatus& status) {
  SERVICE_STATUS windowsStatus{};
  const BOOL result = ::ControlService(ToWindows(service), control, &windowsStatus);
  status.dwServiceType = windowsStatus.dwServiceType;
  status.dwCurrentState = windowsStatus.dwCurrentState;
  status.dwControlsAccepted = windowsStatus.dwControlsAccepted;
  status.dwWin32ExitCode = windowsStatus.dwWin32ExitCode;
  status.dwServiceSpecificExitCode = windowsStatus.dwServiceSpecificExitCode;
  status.dwCheckPoint = windowsStatus.dwCheckPoint;
  status.dwWaitHint = windowsStatus.dwWaitHint;
  return result != FALSE;
}

bool Win32Services::DeleteService(ScHandle service) { return ::DeleteService(ToWindows(service)) != FALSE; }

bool Win32Services::CloseServiceHandle(ScHandle handle) { return ::CloseServiceHandle(ToWindows(handle)) != FALSE; }

}  // namespace platform::win32
