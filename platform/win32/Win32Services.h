// The Service Control Manager on real Windows: each call forwards to the Win32 call of the same name. The
// seam's records are Windows' own, so the caller's buffers are handed over as they are.
#pragma once

#include "platform/ServiceApi.h"

namespace platform::win32 {

class Win32Services : public ServiceApi {
 public:
  ScHandle OpenSCManagerA(const char* machineName, const char* databaseName, std::uint32_t desiredAccess) override;
  bool EnumServicesStatusA(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                           std::uint8_t* services, std::uint32_t bufSize, std::uint32_t* bytesNeeded,
                           std::uint32_t* servicesReturned, std::uint32_t* resumeHandle) override;
  ScHandle OpenServiceA(ScHandle manager, const std::string& serviceName, std::uint32_t desiredAccess) override;
  bool QueryServiceConfigA(ScHandle service, std::uint8_t* serviceConfig, std::uint32_t bufSize,
                           std::uint32_t* bytesNeeded) override;
  bool ControlService(ScHandle service, std::uint32_t control, ServiceStatus& status) override;
  bool DeleteService(ScHandle service) override;
  bool CloseServiceHandle(ScHandle handle) override;
};

}  // namespace platform::win32
