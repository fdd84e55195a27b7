#pragma once

#include "platform/SingleInstanceGuard.h"
