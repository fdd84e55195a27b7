#include "hostfw/ctrlpoint/CTab00684DB.h"

CTab00684DB::CTab00684DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
