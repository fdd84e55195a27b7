#pragma once

#include "hostfw/HostTypes.h"

#include <string_view>

// Rounding services of the GNSS host calculations. Every mode rounds half up on the
// magnitude (mode 5 is the field-book "四捨五入"), decimal-safe: 0.0125 to two
// decimals is 0.013 whatever its binary value.
HOSTFW_API double CmpMaru(double value, int decimals, int mode);
HOSTFW_API double Round(double value, int decimals, int mode);

// Network rounding of a stored network value of the given kind (0: a baseline
// component or residual in metres, 5 decimals; any other kind: 4 decimals).
HOSTFW_API double CmpNetMaru(int kind, double value);

// Point-number order: numbers compare by value ("2" before "10"), then by text.
// Negative, zero or positive like strcmp.
HOSTFW_API int CmpTeno(std::string_view a, std::string_view b);

// Rotates an XYZ (ECEF) difference at the position (ECEF, metres) to local north,
// east and up on the GRS80 ellipsoid.
HOSTFW_API void CmpHeigo(const double positionXyz[3], const double differenceXyz[3], double& dN, double& dE,
              double& dU);

// True for the "not set" marker 1e-16 of stored results.
HOSTFW_API bool IsUnsetValue(double value);
