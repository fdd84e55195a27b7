#include "hostfw/ctrlpoint/CTab00681DB.h"

CTab00681DB::CTab00681DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
