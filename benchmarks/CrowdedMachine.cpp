#include "benchmarks/CrowdedMachine.h"

#include <cstdint>
#include <cstdio>

#include "platform/ServiceApi.h"
#include "platform/WinConstants.h"
#include "system/FilterRegistrations.h"

namespace benchmarks {
namespace {

using platform::kHkeyClassesRoot;
using platform::sim::RegView;
using platform::sim::SimDevice;
using platform::sim::SimHost;
using platform::sim::SimService;

const std::string kPackageRoot = "C:\\Package Root";
const std::string kSdk = kPackageRoot + "\\SDK";
const std::string kDrivers = kPackageRoot + "\\Drivers";

// Spreads the numbers 0 .. 2^64-1 evenly, so that planted names do not arrive in their sorted order.
std::uint64_t Scatter(std::uint64_t n) {
  n += 0x9E3779B97F4A7C15ull;
  n = (n ^ (n >> 30)) * 0xBF58476D1CE4E5B9ull;
  n = (n ^ (n >> 27)) * 0x94D049BB133111EBull;
  return n ^ (n >> 31);
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof(text), format, args...);
  return text;
}

// Another filter's CLSID in registry form; never one of the platform's.
std::string OtherClsid(std::size_t n) {
  const std::uint64_t high = Scatter(n);
  const std::uint64_t low = Scatter(high);
  return Format("{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(high >> 32) & 0x7FFFFFFF,
                static_cast<unsigned>(high >> 16) & 0xFFFF, static_cast<unsigned>(high) & 0xFFFF,
                static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
}

// Where the platform's own items go among `count` planted ones: spread over the whole order.
bool IsPlatformSlot(std::size_t index, std::size_t count) {
  if (count < kPlatformItems) return true;
  const std::size_t stride = count / kPlatformItems;
  return index % stride == stride / 2 && index / stride < kPlatformItems;
}

// An INF as Windows keeps an OEM package: a signature, a driver file and a DeviceID string.
std::string OemInfText(const std::string& driverFile, const std::string& deviceId) {
  return "[Version]\r\nSignature=\"$Windows "
         "NT$\"\r\nClass=Image\r\nProvider=%Maker%\r\nDriverVer=01/02/2020,1.0.0.1\r\n"
         "\r\n[Manufacturer]\r\n%Maker%=Models,NTx86\r\n\r\n[Models.NTx86]\r\n%Device%=Install,USB\\" +
         deviceId +
         "&PID_0001\r\n\r\n[Install]\r\nCopyFiles=Files\r\n\r\n[SourceDisksNames]\r\n1=%Disk%\r\n\r\n"
         "[SourceDisksFiles]\r\n" +
         driverFile +
         "=1\r\n\r\n[Strings]\r\nMaker=\"A maker\"\r\nDevice=\"A device\"\r\nDisk=\"Disk 1\"\r\n"
         "DeviceID=\"" +
         deviceId + "\"\r\n";
}

// Instance identifiers of other hardware, of several shapes and lengths.
std::string OtherDeviceId(std::size_t n) {
  switch (n % 5) {
    case 0:
      return Format("PCI\\VEN_8086&DEV_%04zX&SUBSYS_00000000&REV_01\\3&11583659&0&%zu", n % 0xFFFF, n);
    case 1:
      return Format("USB\\VID_046D&PID_%04zX\\5&2A7C8B%zu", n % 0xFFFF, n);
    case 2:
      return Format("HID\\VID_046D&PID_%04zX&MI_01\\7&1C2E%zu", n % 0xFFFF, n);
    case 3:
      return Format("ROOT\\LEGACY_D%zu\\0000", n);
    default:
      return Format("SWD\\MMDEVAPI\\{0.0.0.%zu}", n);
  }
}

// The platform's device nodes: by the maker's vendor prefix, by the INF's identifier, an interface child.
std::string PlatformDeviceId(std::size_t k) {
  switch (k % 4) {
    case 0:
      return Format("USB\\VID_F622&PID_0001\\CAM%zu", k);
    case 1:
      return Format("USB\\VID_1D6B&PID_0104\\SN%zu", k);
    case 2:
      return Format("USB\\VID_1D6B&PID_0104&MI_00\\7&2F1C%zu&0&0000", k);
    default:
      return Format("usb\\vid_f622&pid_0002\\cam%zu", k);
  }
}

std::string ServiceName(std::size_t n) { return Format("drv%zu", n); }

// The platform's driver services: the driver itself, and one whose file name only contains its name.
std::string PlatformServiceImage(std::size_t k) {
  return k % 2 == 0 ? "\\SystemRoot\\System32\\drivers\\ZeZ2Idador.sys" : "System32\\DRIVERS\\zez2idadorflt.sys";
}

}  // namespace

void PlantFilterRegistrations(SimHost& host, std::size_t count) {
  const std::string categories[] = {std::string(sys::kVideoInputInstanceKey),
                                    std::string(sys::kLegacyFilterInstanceKey)};
  for (const std::string& category : categories) host.registry.CreateKey(kHkeyClassesRoot, category, RegView::Bits32);
  std::size_t platformFilters = 0;
  for (std::size_t n = 0; n < count; ++n) {
    // The platform's registrations take turns between the categories, so that each holds two of them.
    const bool platform = IsPlatformSlot(n, count);
    const std::string& category = categories[(platform ? platformFilters : n) % 2];
    const std::string name =
        platform ? std::string(sys::kPlatformFilterPrefix) + Format("%02zX}", platformFilters++) : OtherClsid(n);
    host.registry.SetString(kHkeyClassesRoot, category + "\\" + name, RegView::Bits32, "FriendlyName", name);
  }
}

void PlantDeviceNodes(SimHost& host, std::size_t count) {
  std::size_t platformDevices = 0;
  for (std::size_t n = 0; n < count; ++n) {
    const bool platform = IsPlatformSlot(n, count);
    host.setup.AddDevice(SimDevice{platform ? PlatformDeviceId(platformDevices++) : OtherDeviceId(n), n % 3 != 0});
  }
}

void PlantOemInfs(SimHost& host, std::size_t count) {
  std::size_t platformInfs = 0;
  for (std::size_t n = 0; n < count; ++n) {
    std::string text = OemInfText(Format("drv%zu.sys", n), Format("VID_%04zX", n % 0xF000));
    if (IsPlatformSlot(n, count)) {
      text = platformInfs++ % 2 == 0 ? OemInfText("ZeZ2Idador.sys", "VID_1D6B") : OemInfText("cam.sys", "vid_f622");
    }
    host.setup.AddInf(Format("oem%zu.inf", n), text);
  }
}

void PlantDriverServices(SimHost& host, std::size_t count) {
  std::size_t platformServices = 0;
  for (std::size_t n = 0; n < count; ++n) {
    SimService service;
    service.name = ServiceName(n);
    service.type = n % 7 == 0 ? platform::kServiceFileSystemDriver : platform::kServiceKernelDriver;
    service.running = n % 2 == 0;
    service.imagePath = IsPlatformSlot(n, count) ? PlatformServiceImage(platformServices++)
                                                 : "\\SystemRoot\\System32\\drivers\\" + service.name + ".sys";
    host.services.Add(service);
  }
}

void PlantPackage(SimHost& host) {
  for (const char* file : {"RAZEDAVE.dll", "X64\\RAZEDAVE_X64.dll", "Selvanic.ax", "X64\\Selvanic64.ax", "Ferrocam.ocx",
                           "hAcqSelvanic.dll", "hAcqSelvanic12.dll", "X64\\hAcqSelvanic12_X64.dll"}) {
    host.files.AddFile(kSdk + "\\" + file, file);
  }
  host.files.AddFile(kDrivers + "\\models.inf");
  host.files.AddFile(kDriverInfPath,
                     "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Image\r\n\r\n[Models.NTx86]\r\n"
                     "%Cam%=Install,USB\\VID_F622&PID_0001\r\n%Cam%=Install,usb\\vid_1d6b&pid_0104\r\n\r\n"
                     "[SourceDisksFiles]\r\nZeZ2Idador.sys=1\r\n\r\n[Strings]\r\nDeviceID=\"VID_F622\"\r\n"
                     "Cam=\"Camera\"\r\n");
  host.files.AddFile("C:\\windows\\system32\\RUNDLL32.EXE");
  host.files.environment["HALCONROOT"] = "D:\\MVTec\\HALCON-12.0";
  for (const char* folder : {"x86sse2-win32", "x86-win32"}) {
    host.files.AddDirectory("D:\\MVTec\\HALCON-12.0\\bin\\" + std::string(folder));
  }
  host.modules.libraries[kSdk + "\\Ferrocam.ocx"] = platform::sim::SimLibrary{};
  host.system.version = {10, 0, 19045};
}

std::size_t FilterRegistrationCount(const SimHost& host) {
  return host.registry.SubkeyNames(kHkeyClassesRoot, std::string(sys::kVideoInputInstanceKey), RegView::Bits32).size() +
         host.registry.SubkeyNames(kHkeyClassesRoot, std::string(sys::kLegacyFilterInstanceKey), RegView::Bits32)
             .size();
}

std::size_t DeviceNodeCount(const SimHost& host) { return host.setup.DeviceIds().size(); }

std::size_t InfCount(const SimHost& host) { return host.setup.InfNames().size(); }

std::size_t DriverServiceCount(const SimHost& host, std::size_t planted) {
  std::size_t left = 0;
  for (std::size_t n = 0; n < planted; ++n) left += host.services.Exists(ServiceName(n)) ? 1 : 0;
  return left;
}

}  // namespace benchmarks
