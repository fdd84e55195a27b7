#include "hostfw/ctrlpoint/CTab00687DB.h"

CTab00687DB::CTab00687DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
