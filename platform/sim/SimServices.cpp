#include "platform/sim/SimServices.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/WinConstants.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t kErrorInvalidHandle = 6;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorInvalidServiceControl = 1052;
constexpr std::uint32_t kServiceDemandStart = 3;
constexpr std::uint32_t kServiceErrorNormal = 1;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::uint32_t StringBytes(const std::optional<std::string>& text) {
  return text ? static_cast<std::uint32_t>(text->size() + 1) : 0;
}

// Writes strings downwards from the end of a caller's buffer, as Windows places them after the records.
class StringArea {
 public:
  StringArea(std::uint8_t* buffer, std::uint32_t size) : buffer_(buffer), end_(size) {}
  char* Put(const std::optional<std::string>& text) {
    if (!text) return nullptr;
    end_ -= static_cast<std::uint32_t>(text->size() + 1);
    std::memcpy(buffer_ + end_, text->c_str(), text->size() + 1);
    return reinterpret_cast<char*>(buffer_ + end_);
  }
  // A string list ended by an empty string (two NULs for an empty list).
  char* PutList() {
    end_ -= 2;
    buffer_[end_] = buffer_[end_ + 1] = 0;
    return reinterpret_cast<char*>(buffer_ + end_);
  }

 private:
  std::uint8_t* buffer_;
  std::uint32_t end_;
};

}  // namespace

ScHandle SimServices::OpenSCManagerA(const char* machineName, const char* databaseName, std::uint32_t desiredAccess) {
  journal_.Record("OpenSCManagerA");
  managerAccess.push_back(desiredAccess);
  if (machine_.Planned("OpenSCManagerA")) return 0;
  if (machineName != nullptr || databaseName != nullptr) {
    machine_.lastError = kErrorInvalidParameter;
    return 0;
  }
  const ScHandle handle = nextHandle_++;
  handles_[handle] = Handle{};
  ++openHandles;
  return handle;
}

bool SimServices::EnumServicesStatusA(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                                      std::uint8_t* services, std::uint32_t bufSize, std::uint32_t* bytesNeeded,
                                      std::uint32_t* servicesReturned, std::uint32_t* resumeHandle) {
  journal_.Record("EnumServicesStatusA");
  enumerations.emplace_back(serviceType, serviceState);
  if (bytesNeeded == nullptr || servicesReturned == nullptr) {
    machine_.lastError = kErrorInvalidParameter;
    return false;
  }
  *bytesNeeded = 0;
  *servicesReturned = 0;
  auto found = handles_.find(manager);
  if (found == handles_.end() || found->second.service) {
    machine_.lastError = kErrorInvalidHandle;
    return false;
  }
  std::vector<const SimService*> listed;
  for (const auto& [key, service] : services_) {
    const bool stateMatches =
        service.running ? (serviceState & kServiceActive) != 0 : (serviceState & kServiceInactive) != 0;
    if ((service.type & serviceType) != 0 && stateMatches) listed.push_back(&service);
  }
  // Records from the start of the buffer, strings from its end; as many services as fit.
  std::uint32_t used = 0;
  std::size_t fitted = 0;
  for (; fitted < listed.size(); ++fitted) {
    const std::uint32_t need =
        sizeof(EnumServiceStatusA) + StringBytes(listed[fitted]->name) + StringBytes(listed[fitted]->displayName);
    if (services == nullptr || used + need > bufSize) break;
    used += need;
  }
  std::uint32_t rest = 0;
  for (std::size_t i = fitted; i < listed.size(); ++i) {
    rest += sizeof(EnumServiceStatusA) + StringBytes(listed[i]->name) + StringBytes(listed[i]->displayName);
  }
  StringArea strings(services, bufSize);
  for (std::size_t i = 0; i < fitted; ++i) {
    EnumServiceStatusA record{};
    record.lpServiceName = strings.Put(listed[i]->name);
    record.lpDisplayName = strings.Put(listed[i]->displayName);
    record.ServiceStatus.dwServiceType = listed[i]->type;
    record.ServiceStatus.dwCurrentState = listed[i]->running ? kServiceRunning : kServiceStopped;
    std::memcpy(services + i * sizeof(EnumServiceStatusA), &record, sizeof(record));
  }
  *servicesReturned = static_cast<std::uint32_t>(fitted);
  *bytesNeeded = rest;
  if (resumeHandle != nullptr) *resumeHandle = static_cast<std::uint32_t>(fitted);
  if (machine_.Planned("EnumServicesStatusA")) return false;
  // Endless: more data whatever the buffer, each answer asking for more than the buffer just given.
  if (machine_.faults.IsEndless("EnumServicesStatusA")) {
    *bytesNeeded = std::max(rest, bufSize) + static_cast<std::uint32_t>(sizeof(EnumServiceStatusA));
    machine_.lastError = kErrorMoreData;
    return false;
  }
  if (fitted < listed.size()) {
    machine_.lastError = kErrorMoreData;
    return false;
  }
  return true;
}

ScHandle SimServices::OpenServiceA(ScHandle manager, const std::string& serviceName, std::uint32_t desiredAccess) {
  journal_.Record("OpenServiceA " + serviceName);
  opened.emplace_back(serviceName, desiredAccess);
  if (machine_.Planned("OpenServiceA")) return 0;
  auto managerHandle = handles_.find(manager);
  if (managerHandle == handles_.end() || managerHandle->second.service) {
    machine_.lastError = kErrorInvalidHandle;
    return 0;
  }
  auto service = services_.find(Upper(serviceName));
  if (service == services_.end()) {
    machine_.lastError = kErrorServiceDoesNotExist;
    return 0;
  }
  if (service->second.openRefusal != 0) {
    machine_.lastError = service->second.openRefusal;
    return 0;
  }
  const ScHandle handle = nextHandle_++;
  handles_[handle] = Handle{service->first};
  ++openHandles;
  return handle;
}

SimService* SimServices::ServiceOf(ScHandle handle) {
  auto found = handles_.find(handle);
  if (found == handles_.end() || !found->second.service) {
    machine_.lastError = kErrorInvalidHandle;
    return nullptr;
  }
  return &services_.at(*found->second.service);
}

bool SimServices::QueryServiceConfigA(ScHandle service, std::uint8_t* serviceConfig, std::uint32_t bufSize,
                                      std::uint32_t* bytesNeeded) {
  journal_.Record("QueryServiceConfigA");
  if (machine_.Planned("QueryServiceConfigA")) return false;
  const SimService* target = ServiceOf(service);
  if (target == nullptr) return false;
  if (target->configRefusal != 0) {
    machine_.lastError = target->configRefusal;
    return false;
  }
  const std::optional<std::string> displayName = target->displayName.value_or(target->name);
  const std::optional<std::string> empty = std::string();
  const std::uint32_t needed = sizeof(QueryServiceConfigRecordA) + StringBytes(target->imagePath) + StringBytes(empty) +
                               2 + StringBytes(empty) + StringBytes(displayName);
  if (bytesNeeded != nullptr) *bytesNeeded = needed;
  // Endless: never large enough, each answer asking for more than the buffer just given.
  if (machine_.faults.IsEndless("QueryServiceConfigA") && bytesNeeded != nullptr) {
    *bytesNeeded = std::max(needed, bufSize + 64);
    machine_.lastError = kErrorInsufficientBuffer;
    return false;
  }
  if (serviceConfig == nullptr || bufSize < needed) {
    machine_.lastError = kErrorInsufficientBuffer;
    return false;
  }
  StringArea strings(serviceConfig, bufSize);
  QueryServiceConfigRecordA config{};
  config.dwServiceType = target->type;
  config.dwStartType = kServiceDemandStart;
  config.dwErrorControl = kServiceErrorNormal;
  config.lpBinaryPathName = strings.Put(target->imagePath);
  config.lpLoadOrderGroup = strings.Put(empty);
  config.lpDependencies = strings.PutList();
  config.lpServiceStartName = strings.Put(empty);
  config.lpDisplayName = strings.Put(displayName);
  std::memcpy(serviceConfig, &config, sizeof(config));
  return true;
}

bool SimServices::ControlService(ScHandle service, std::uint32_t control, ServiceStatus& status) {
  journal_.Record("ControlService " + std::to_string(control));
  SimService* target = ServiceOf(service);
  if (target == nullptr) return false;
  controls.emplace_back(target->name, control);
  if (machine_.Planned("ControlService")) return false;
  status = ServiceStatus{};
  status.dwServiceType = target->type;
  status.dwCurrentState = target->running ? kServiceRunning : kServiceStopped;
  if (control != kServiceControlStop) {
    machine_.lastError = kErrorInvalidServiceControl;
    return false;
  }
  if (!target->running) {
    machine_.lastError = kErrorServiceNotActive;
    return false;
  }
  if (target->stopRefusal != 0) {
    machine_.lastError = target->stopRefusal;
    return false;
  }
  target->running = false;
  status.dwCurrentState = kServiceStopped;
  return true;
}

bool SimServices::DeleteService(ScHandle service) {
  journal_.Record("DeleteService");
  SimService* target = ServiceOf(service);
  if (target == nullptr) return false;
  deleteRequests.push_back(target->name);
  if (machine_.Planned("DeleteService")) return false;
  if (target->markedForDelete) {
    machine_.lastError = kErrorServiceMarkedForDelete;
    return false;
  }
  if (target->deleteRefusal != 0) {
    machine_.lastError = target->deleteRefusal;
    return false;
  }
  target->markedForDelete = true;
  return true;
}

bool SimServices::CloseServiceHandle(ScHandle handle) {
  journal_.Record("CloseServiceHandle");
  if (machine_.Planned("CloseServiceHandle")) return false;
  auto found = handles_.find(handle);
  if (found == handles_.end()) {
    machine_.lastError = kErrorInvalidHandle;
    return false;
  }
  const std::optional<std::string> service = found->second.service;
  handles_.erase(found);
  --openHandles;
  if (service) ForgetIfGone(*service);
  return true;
}

void SimServices::ForgetIfGone(const std::string& key) {
  auto service = services_.find(key);
  if (service == services_.end() || !service->second.markedForDelete || service->second.running) return;
  const bool stillOpen =
      std::any_of(handles_.begin(), handles_.end(), [&](const auto& entry) { return entry.second.service == key; });
  if (!stillOpen) services_.erase(service);
}

void SimServices::Add(const SimService& service) { services_[Upper(service.name)] = service; }

bool SimServices::Exists(const std::string& name) const { return services_.count(Upper(name)) != 0; }

const SimService* SimServices::Find(const std::string& name) const {
  auto found = services_.find(Upper(name));
  return found == services_.end() ? nullptr : &found->second;
}

}  // namespace platform::sim
