#include "hostfw/levelling/CTab00935DB.h"

CTab00935DB::CTab00935DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}

CTab00935DB::~CTab00935DB() = default;
