// The simulated Service Control Manager: driver and Win32 services with image paths, running or stopped,
// stop and delete, and refusals planned per service. Enumeration and configuration records are laid out
// in the caller's buffer as Windows lays them out, with ERROR_MORE_DATA / ERROR_INSUFFICIENT_BUFFER and the
// bytes needed when it is too small. A deleted service stays until its last handle is closed and it has
// stopped, as with Windows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ServiceApi.h"
#include "platform/sim/SimJournal.h"
#include "platform/sim/SimMachine.h"

namespace platform::sim {

struct SimService {
  std::string name;
  std::optional<std::string> displayName;  // none: a null display name in the records, as Wine gives
  std::uint32_t type = kServiceKernelDriver;
  std::string imagePath;
  bool running = false;
  std::uint32_t openRefusal = 0;    // OpenServiceA fails with this error
  std::uint32_t configRefusal = 0;  // QueryServiceConfigA fails with this error, whatever the buffer
  std::uint32_t stopRefusal = 0;    // ControlService(STOP) of a running service fails with this error
  std::uint32_t deleteRefusal = 0;  // DeleteService fails with this error
  bool markedForDelete = false;
};

class SimServices : public ServiceApi {
 public:
  SimServices(SimMachine& machine, SimJournal& journal) : machine_(machine), journal_(journal) {}

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

  // --- for tests ---
  void Add(const SimService& service);
  bool Exists(const std::string& name) const;
  const SimService* Find(const std::string& name) const;

  std::vector<std::uint32_t> managerAccess;                           // of each OpenSCManagerA
  std::vector<std::pair<std::uint32_t, std::uint32_t>> enumerations;  // type and state of each enumeration
  std::vector<std::pair<std::string, std::uint32_t>> opened;          // service name and access
  std::vector<std::pair<std::string, std::uint32_t>> controls;        // service name and control
  std::vector<std::string> deleteRequests;
  int openHandles = 0;

 private:
  struct Handle {
    std::optional<std::string> service;  // upper-case name; none for the manager
  };

  SimService* ServiceOf(ScHandle handle);
  void ForgetIfGone(const std::string& key);

  SimMachine& machine_;
  SimJournal& journal_;
  std::map<std::string, SimService> services_;  // by upper-case name: the order Windows lists them in
  std::map<ScHandle, Handle> handles_;
  ScHandle nextHandle_ = 0x300;
};

}  // namespace platform::sim
