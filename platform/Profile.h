#pragma once

// The application profile: interface, the INI-file profile, the in-memory double
// and the recent-file list.
#include "platform/IProfile.h"
#include "platform/IniProfile.h"
#include "platform/MemoryProfile.h"
#include "platform/RecentFileList.h"
