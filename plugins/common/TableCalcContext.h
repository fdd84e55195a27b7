#pragma once

#include <memory>

#include "plugins/common/CalcContext.h"

class KjnXyda_Nt;
class PartData;

namespace plugcommon {

// What the control-point and levelling Cal hold beside their texts: the part's records
// as the plug-in's table (TabData), the host's coordinate system and the evaluation's
// status (0 done). The plug-in's Cal runs its evaluation and report unless noCalc is
// set.
template <class TabData>
class TableCalcContext : public CalcContext {
public:
    short ResultCode() const override { return m_status; }
    const TabData& Data() const { return *m_data; }

protected:
    TableCalcContext(const PartData& data, short noCalc)
        : m_data(std::make_unique<TabData>(data)), m_coordinates(std::make_unique<KjnXyda_Nt>()), m_noCalc(noCalc)
    {
    }

    std::unique_ptr<TabData> m_data;
    std::unique_ptr<KjnXyda_Nt> m_coordinates;
    short m_status = 0;
    short m_noCalc;
};

} // namespace plugcommon
