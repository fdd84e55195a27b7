#pragma once

#include "plugins/ctrlpoint/ControlPointPartList.h"

namespace mod00519 {

// The check-survey list (R3: 681 handbooks, each once).
class CVSheetPartListTen : public ControlPointPartList {
    Q_OBJECT
public:
    explicit CVSheetPartListTen(QWidget* parent = nullptr);
};

} // namespace mod00519
