#include "hostfw/CTab00519DB.h"

#include "hostfw/Tab00519Data.h"

CTab00519DB::CTab00519DB(PartSystem* handle) : CTabParamDB(handle, Tab00519Data::kProgramNo) {}

std::unique_ptr<PartData> CTab00519DB::NewPartData() const
{
    return std::make_unique<Tab00519Data>();
}
