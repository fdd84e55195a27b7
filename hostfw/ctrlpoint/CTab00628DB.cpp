#include "hostfw/ctrlpoint/CTab00628DB.h"

CTab00628DB::CTab00628DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
