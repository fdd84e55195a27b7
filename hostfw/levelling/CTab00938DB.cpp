#include "hostfw/levelling/CTab00938DB.h"

CTab00938DB::CTab00938DB(PartSystem* handle) : CSiblingDB(handle, kProgramNo) {}

CTab00938DB::~CTab00938DB() = default;
