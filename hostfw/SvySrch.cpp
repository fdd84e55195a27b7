#include "hostfw/SvySrch.h"

#include "hostfw/CVApp.h"
#include "hostfw/PartSystem.h"

#include <sqlite3.h>

#include "hostfw/SqlStatement.h"

namespace {

std::vector<DWORD> Search(SvyCodeTest test, const short* programList, int limit)
{
    std::vector<DWORD> out;
    PartSystem* system = GetCurrentPartSystem();
    if (!system || limit <= 0)
        return out;
    // Parts the user switched off are not offered.
    SqlStatement get(system->Db(), "SELECT address, program FROM parts WHERE active <> 0 ORDER BY address");
    while (get.Step() && static_cast<int>(out.size()) < limit) {
        const auto address = static_cast<DWORD>(get.Int(0));
        const auto program = static_cast<WORD>(get.Int(1));
        if (!test || test(address, program, programList))
            out.push_back(address);
    }
    return out;
}

} // namespace

std::vector<DWORD> SvySrchExtract(QWidget*, SvyCodeTest test, const short* programList, int limit, void*, void*)
{
    return Search(test, programList, limit);
}

std::vector<DWORD> SvySrchSelectList(QWidget*, SvyCodeTest test, const short* programList, int limit, void*,
                                     void*)
{
    return Search(test, programList, limit);
}
