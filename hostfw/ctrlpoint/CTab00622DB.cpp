#include "hostfw/ctrlpoint/CTab00622DB.h"

CTab00622DB::CTab00622DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
