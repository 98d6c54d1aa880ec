#include "drivers/DriverServices.h"

#include <cstring>
#include <string>

#include "app/BrandFields.h"
#include "drivers/CaseInsensitiveText.h"
#include "drivers/RecordBuffer.h"
#include "platform/Backends.h"
#include "platform/ScopedServiceHandle.h"

namespace drivers {
namespace {

// Windows asks again for a larger buffer only while services are added between two calls; after this
// many answers of that kind the enumeration ends with what the last call returned.
constexpr int kMaxEnumerationAttempts = 8;

// The enumeration records of every driver service, and how many of them the last call returned.
struct DriverServiceList {
  RecordBuffer<platform::EnumServiceStatusA> records;
  std::uint32_t count = 0;
};

void EnumerateDriverServices(platform::ScHandle manager, DriverServiceList& list) {
  platform::ServiceApi& services = platform::Services();
  std::uint32_t needed = 0;
  bool complete = services.EnumServicesStatusA(manager, platform::kServiceDriver, platform::kServiceStateAll, nullptr,
                                               0, &needed, &list.count, nullptr);
  for (int attempt = 1;
       !complete && attempt < kMaxEnumerationAttempts && platform::System().GetLastError() == platform::kErrorMoreData;
       ++attempt) {
    list.records.Resize(needed);
    list.count = 0;
    complete =
        services.EnumServicesStatusA(manager, platform::kServiceDriver, platform::kServiceStateAll,
                                     list.records.Bytes(), list.records.ByteCount(), &needed, &list.count, nullptr);
  }
  // Never more records than the buffer holds, whatever the count says.
  if (list.count > list.records.Capacity()) list.count = list.records.Capacity();
}

// Whether the service's image path names the camera driver; false when its configuration cannot be read.
bool RunsCameraDriver(platform::ScHandle service) {
  platform::ServiceApi& services = platform::Services();
  std::uint32_t needed = 0;
  services.QueryServiceConfigA(service, nullptr, 0, &needed);
  if (needed < sizeof(platform::QueryServiceConfigRecordA)) return false;
  RecordBuffer<platform::QueryServiceConfigRecordA> config;
  config.Resize(needed);
  if (!services.QueryServiceConfigA(service, config.Bytes(), config.ByteCount(), &needed)) return false;
  const char* imagePath = config[0].lpBinaryPathName;
  return imagePath != nullptr && ContainsIgnoringCase(imagePath, app::DriverBaseName());
}

}  // namespace

void RemoveCameraDriverServices() {
  platform::ServiceApi& services = platform::Services();
  platform::ScopedServiceHandle manager(services.OpenSCManagerA(nullptr, nullptr, platform::kScManagerAllAccess));
  if (!manager.IsOpen()) return;
  DriverServiceList list;
  EnumerateDriverServices(manager.Get(), list);
  for (std::uint32_t index = 0; index < list.count; ++index) {
    const char* name = list.records[index].lpServiceName;
    if (name == nullptr) continue;
    platform::ScopedServiceHandle service(services.OpenServiceA(manager.Get(), name, platform::kServiceAllAccess));
    if (!service.IsOpen() || !RunsCameraDriver(service.Get())) continue;
    platform::ServiceStatus status;
    services.ControlService(service.Get(), platform::kServiceControlStop, status);
    services.DeleteService(service.Get());
  }
}

}  // namespace drivers
