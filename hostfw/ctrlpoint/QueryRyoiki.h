#pragma once

#include "hostfw/HostTypes.h"

class QWidget;

// The host's area query (command 33769 of the table dialogs). The stand-in offers no
// area picking; it records each call so the host and tests can see it was made.
HOSTFW_API int QueryRyoiki(QWidget* owner, int mode);
// Number of calls so far and the mode of the last one.
HOSTFW_API int QueryRyoikiCallCount();
HOSTFW_API int QueryRyoikiLastMode();
