// The registration run's WOW64 flag: 0 at start, set to 1 by the run when it finds itself on 64-bit
// Windows, never cleared. The settings store and the driver steps choose their 64-bit variants by it.
#pragma once

#include <cstdint>

namespace registration {

extern std::int32_t Wow64Active;

}  // namespace registration
