#pragma once

#include "hostfw/HostTypes.h"

// Angle helpers of the host's survey library. Angles in degrees-minutes-seconds are
// held as one double in the field-book form d.mmss (12°34′56.7″ is 12.34567).

// Signed seconds of a d.mmss angle.
HOSTFW_API double DMS_ToSec(double dms);
// d.mmss form of signed seconds.
HOSTFW_API double SecToDms(double seconds);
// Radians of a d.mmss angle.
HOSTFW_API double DmstoRad(double dms);
// d.mmss form of an angle in radians.
HOSTFW_API double RadToDms(double radians);
// a − b, reduced to the range −180° … +180° (359°59′59″ − 0°00′01″ gives −2″).
HOSTFW_API double SubDms(double a, double b);
// A vertical angle (radians, altitude above the horizon) in the convention of a
// field-book record, d.mmss: zenith distance (90° − angle) when toZenith is 1, else
// the altitude itself.
HOSTFW_API double GetVerchi(int toZenith, double radians);
