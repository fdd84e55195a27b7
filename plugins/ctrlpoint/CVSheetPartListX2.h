#pragma once

#include "plugins/ctrlpoint/ControlPointPartList.h"

namespace mod00519 {

// The check-calculation list (R4: 687 and 684 routes).
class CVSheetPartListX2 : public ControlPointPartList {
    Q_OBJECT
public:
    explicit CVSheetPartListX2(QWidget* parent = nullptr);
};

} // namespace mod00519
