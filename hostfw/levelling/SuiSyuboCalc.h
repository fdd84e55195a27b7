#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;

// The sibling levelling calculation's evaluation of one observation note (921): the
// note's stored round-trip difference for the grade (mm) raises the running maximum
// when it is larger by absolute value (the value keeps its sign; a maximum equal to
// 1e-16 takes the first value). Answers 1 when the note was computed, 0 when it
// cannot be (no such note, no difference stored for the grade). The current part
// system is read when handle is null.
HOSTFW_API int SuiSyuboCalc(DWORD part, short grade, double& maximum, PartSystem* handle = nullptr);
