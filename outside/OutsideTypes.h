#pragma once

#include <cstdint>
#include <functional>

// Colour as the host and the stored files keep it: 0x00BBGGRR, red in the low byte.
// A second identical alias elsewhere is harmless.
using COLORREF = std::uint32_t;

// Progress of a long store operation in percent (0..100); returning false asks the
// operation to stop. An empty function costs nothing. The operation calls it at
// most a few hundred times and, when stopped, leaves its input as it was.
using OutsideProgressFn = std::function<bool(double percent)>;
