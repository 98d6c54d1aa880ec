// Bits of the drivers choice that the dialog or the command line makes for the registration run.
#pragma once

#include <cstdint>

namespace app {

inline constexpr std::uint32_t kDriverUsbCamera = 0x01;
inline constexpr std::uint32_t kDriverGigeCamera = 0x02;
// The selected driver steps remove the old installation and install nothing; only the command line sets it.
inline constexpr std::uint32_t kDriverRemoveOnly = 0x80;

}  // namespace app
