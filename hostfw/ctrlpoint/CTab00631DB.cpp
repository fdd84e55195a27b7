#include "hostfw/ctrlpoint/CTab00631DB.h"

CTab00631DB::CTab00631DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
