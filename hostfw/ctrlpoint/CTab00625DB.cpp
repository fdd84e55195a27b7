#include "hostfw/ctrlpoint/CTab00625DB.h"

CTab00625DB::CTab00625DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}
