#pragma once

#include "outside/OutsideTypes.h"

#include <QWidget>

// A colour sample with its RGB values: a swatch three times as wide as the
// control is high, then ":%3d,%3d,%3d". The owning dialog sets the colour.
class CEXColorCtr : public QWidget {
    Q_OBJECT
public:
    explicit CEXColorCtr(QWidget* parent = nullptr);
    void SetColor(COLORREF colour);
    COLORREF Color() const { return m_colour; }
    //! ":  5,120,255" for RGB(5, 120, 255).
    static QString ValueText(COLORREF colour);
    QSize sizeHint() const override { return {160, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_colour = 0;
};
