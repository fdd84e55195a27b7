#pragma once

#include "plugins/ctrlpoint/ControlPointPartList.h"

namespace mod00519 {

// The strict-network list (FR1: a 628 and a 631 part).
class CVSheetPartListX : public ControlPointPartList {
    Q_OBJECT
public:
    explicit CVSheetPartListX(QWidget* parent = nullptr);
};

} // namespace mod00519
