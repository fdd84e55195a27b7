#pragma once

#include "outside/OutsideTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <memory>
#include <optional>
#include <string>

class QWidget;

// Where the standard colour dialog appears. By default the window system places
// it over its owner; the edit colour commands ask for it at the cursor, inside
// the owner's rectangle, with their own caption.
struct ColorDialogPlacement {
    bool atCursor = false;
    QRect ownerRect;   // screen coordinates
    QPoint cursor;     // screen coordinates
    std::string caption;

    //! The dialog's top-left for its size: beside the cursor, kept on the owner's side.
    static QPoint AtCursor(QSize dialog, QRect owner, QPoint cursor);
};

// The one way the viewer asks the user for a colour, like the message boxes: the
// process holds one service (the standard Qt dialog unless another is installed);
// tests install ScriptedColorDialogs.
class ColorDialogService {
public:
    using CustomColours = std::array<COLORREF, 16>;

    virtual ~ColorDialogService() = default;
    //! The chosen colour, or nullopt when the user cancelled. `custom`, when given,
    //! is shown and kept as the dialog's custom colours.
    virtual std::optional<COLORREF> Choose(COLORREF initial, QWidget* owner, const ColorDialogPlacement& placement,
                                           CustomColours* custom) = 0;

    //! Installs the process's service and returns the previous; null restores Qt's.
    static std::shared_ptr<ColorDialogService> Set(std::shared_ptr<ColorDialogService> service);
    static std::shared_ptr<ColorDialogService> Current();
};

//! Runs the process's colour dialog.
std::optional<COLORREF> ChooseColor(COLORREF initial, QWidget* owner, const ColorDialogPlacement& placement = {},
                                    ColorDialogService::CustomColours* custom = nullptr);
