#pragma once

#include "viewer/dialogs/ColorDialogService.h"

// The standard colour dialog of Qt, modal over its owner.
class QtColorDialogService : public ColorDialogService {
public:
    std::optional<COLORREF> Choose(COLORREF initial, QWidget* owner, const ColorDialogPlacement& placement,
                                   CustomColours* custom) override;
};
