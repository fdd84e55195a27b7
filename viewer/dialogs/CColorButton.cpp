#include "viewer/dialogs/CColorButton.h"

#include "viewer/dialogs/ColorRef.h"

#include <QPainter>

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
}

void CColorButton::SetColor(COLORREF colour)
{
    m_colour = colour;
    update();
}

void CColorButton::SetSunken(bool sunken)
{
    m_sunken = sunken;
    repaint();
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().color(QPalette::Button));
    const bool in = m_sunken || isDown();
    p.setPen(palette().color(in ? QPalette::Dark : QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(in ? QPalette::Light : QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect swatch = r.adjusted(2, 2, -2, -2);
    p.fillRect(swatch, ColorRef::ToQColor(m_colour));
    p.setPen(Qt::black);
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
