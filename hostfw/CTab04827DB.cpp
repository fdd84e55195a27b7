#include "hostfw/CTab04827DB.h"

#include "hostfw/Tab04827Data.h"

CTab04827DB::CTab04827DB(PartSystem* handle) : CTabParamDB(handle, Tab04827Data::kProgramNo) {}

std::unique_ptr<PartData> CTab04827DB::NewPartData() const
{
    return std::make_unique<Tab04827Data>();
}
