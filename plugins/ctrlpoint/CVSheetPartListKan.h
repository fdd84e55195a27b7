#pragma once

#include "plugins/ctrlpoint/ControlPointPartList.h"

namespace mod00519 {

// The arbitrary-network (FR2) and single-route (FR3) lists.
class CVSheetPartListKan : public ControlPointPartList {
    Q_OBJECT
public:
    explicit CVSheetPartListKan(PartListKind kind, QWidget* parent = nullptr);
};

} // namespace mod00519
