// advapi32 Service Control Manager. Each call mirrors the Win32 call of the same name; results as bool
// with the reason in the thread's last error. The enumeration and configuration calls fill a caller's byte
// buffer with Windows' own records (strings placed in the same buffer) and report the bytes they need.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using ScHandle = std::uintptr_t;  // SC_HANDLE; 0 on failure

inline constexpr std::uint32_t kScManagerAllAccess = 0xF003F;
inline constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
inline constexpr std::uint32_t kServiceKernelDriver = 0x01;
inline constexpr std::uint32_t kServiceFileSystemDriver = 0x02;
inline constexpr std::uint32_t kServiceRecognizerDriver = 0x08;
inline constexpr std::uint32_t kServiceDriver = 0x0B;
inline constexpr std::uint32_t kServiceWin32OwnProcess = 0x10;
inline constexpr std::uint32_t kServiceWin32ShareProcess = 0x20;
inline constexpr std::uint32_t kServiceActive = 1;
inline constexpr std::uint32_t kServiceInactive = 2;
inline constexpr std::uint32_t kServiceStateAll = 3;
inline constexpr std::uint32_t kServiceControlStop = 1;
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceRunning = 4;

inline constexpr std::uint32_t kErrorMoreData = 234;
inline constexpr std::uint32_t kErrorServiceDoesNotExist = 1060;
inline constexpr std::uint32_t kErrorServiceNotActive = 1062;
inline constexpr std::uint32_t kErrorServiceMarkedForDelete = 1072;

// SERVICE_STATUS
struct ServiceStatus {
  std::uint32_t dwServiceType = 0;
  std::uint32_t dwCurrentState = 0;
  std::uint32_t dwControlsAccepted = 0;
  std::uint32_t dwWin32ExitCode = 0;
  std::uint32_t dwServiceSpecificExitCode = 0;
  std::uint32_t dwCheckPoint = 0;
  std::uint32_t dwWaitHint = 0;
};

// ENUM_SERVICE_STATUSA: 36 bytes in a 32-bit process.
struct EnumServiceStatusA {
  char* lpServiceName;
  char* lpDisplayName;
  platform::ServiceStatus ServiceStatus;
};

// QUERY_SERVICE_CONFIGA (named apart from the call that fills it)
struct QueryServiceConfigRecordA {
  std::uint32_t dwServiceType;
  std::uint32_t dwStartType;
  std::uint32_t dwErrorControl;
  char* lpBinaryPathName;
  char* lpLoadOrderGroup;
  std::uint32_t dwTagId;
  char* lpDependencies;
  char* lpServiceStartName;
  char* lpDisplayName;
};

class ServiceApi {
 public:
  virtual ~ServiceApi() = default;

  // Null machine and database: the local machine's active database.
  virtual ScHandle OpenSCManagerA(const char* machineName, const char* databaseName, std::uint32_t desiredAccess) = 0;
  // Fills the buffer with as many records as fit; ERROR_MORE_DATA with the bytes the rest needs otherwise.
  virtual bool EnumServicesStatusA(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                                   std::uint8_t* services, std::uint32_t bufSize, std::uint32_t* bytesNeeded,
                                   std::uint32_t* servicesReturned, std::uint32_t* resumeHandle) = 0;
  virtual ScHandle OpenServiceA(ScHandle manager, const std::string& serviceName, std::uint32_t desiredAccess) = 0;
  // ERROR_INSUFFICIENT_BUFFER with the bytes needed when the buffer is null or too small.
  virtual bool QueryServiceConfigA(ScHandle service, std::uint8_t* serviceConfig, std::uint32_t bufSize,
                                   std::uint32_t* bytesNeeded) = 0;
  virtual bool ControlService(ScHandle service, std::uint32_t control, ServiceStatus& status) = 0;
  virtual bool DeleteService(ScHandle service) = 0;
  virtual bool CloseServiceHandle(ScHandle handle) = 0;
};

}  // namespace platform
