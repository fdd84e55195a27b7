#include "hostfw/CTab00963DB.h"

#include "hostfw/Tab00963Data.h"

CTab00963DB::CTab00963DB(PartSystem* handle) : CTabParamDB(handle, Tab00963Data::kProgramNo) {}

std::unique_ptr<PartData> CTab00963DB::NewPartData() const
{
    return std::make_unique<Tab00963Data>();
}
