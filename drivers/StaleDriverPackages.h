// Removal of the cameras' OEM driver packages that earlier installations left in the Windows INF
// directory. A package is recognised by two entries of its INF read through the Setup API's INF parser.
#pragma once

#include <cstdint>
#include <string>

namespace drivers {

// Field fieldIndex (1-based; 0 is the key) of the first line with the key in the section of the INF. A
// bare file name is looked up in the system's INF directory. True when the field was read; the value is
// emptied when reading it fails after its size was known.
bool ReadInfField(const std::string& infName, const std::string& section, const std::string& key,
                  std::uint32_t fieldIndex, std::string& value);

// Whether the INF's "Strings" entry DeviceID begins with "VID_F622", letter case ignored.
bool InfDeclaresCameraVendor(const std::string& infName);

// Whether the INF of this bare name is one of the cameras' OEM packages: its name begins with "oem"
// (any case), and its "SourceDisksFiles" section lists the driver file with a value, or it declares the
// cameras' vendor.
bool IsCameraDriverInf(const std::string& infName);

// Uninstalls (forced) every camera OEM INF of the system's INF directory. When Windows refuses because
// devices still use the package, the INF file itself is deleted from the INF directory. Nothing is
// reported; a list that cannot be obtained removes nothing.
void RemoveStaleDriverPackages();

}  // namespace drivers
