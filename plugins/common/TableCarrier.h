#pragma once

#include <memory>

#include "plugins/common/Kjn_Send.h"

class PartData;

namespace plugcommon {

// What the control-point and levelling Kjn_Send hold beside their evaluation's texts:
// the part's records as the plug-in's table (TabData).
template <class TabData>
class TableCarrier : public Kjn_Send {
protected:
    TableCarrier(const PluginTable& table, const PartData& data)
        : Kjn_Send(table), m_data(std::make_unique<TabData>(data))
    {
    }

    std::unique_ptr<TabData> m_data;
};

} // namespace plugcommon
