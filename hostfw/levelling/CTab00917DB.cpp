#include "hostfw/levelling/CTab00917DB.h"

CTab00917DB::CTab00917DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}

CTab00917DB::~CTab00917DB() = default;
