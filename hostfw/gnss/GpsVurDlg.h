#pragma once

#include "hostfw/HostTypes.h"

#include <cstdint>

class QWidget;

// The host's GNSS condition dialog: shows the stored conditions of the work, read-only
// in this host. Answers 1 on OK, 0 when cancelled, -1 when the work has no conditions.
HOSTFW_API int GpsVurDlg(long workKey, std::uint64_t pageMask, WORD conditionNo, QWidget* parent, int option);
