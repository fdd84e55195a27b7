#pragma once

#include "outside/OutsideTypes.h"

#include <QPushButton>

// A push button painted as a colour swatch; the owner handles its click.
class CColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);
    void SetColor(COLORREF colour);
    COLORREF Color() const { return m_colour; }
    //! Drawn pressed in while the owner runs the colour dialog.
    void SetSunken(bool sunken);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_colour = 0;
    bool m_sunken = false;
};
