#include "viewer/dialogs/CEXColorCtr.h"

#include "viewer/dialogs/ColorRef.h"

#include <QPainter>

CEXColorCtr::CEXColorCtr(QWidget* parent) : QWidget(parent) {}

void CEXColorCtr::SetColor(COLORREF colour)
{
    m_colour = colour;
    update();
}

QString CEXColorCtr::ValueText(COLORREF colour)
{
    const QColor c = ColorRef::ToQColor(colour);
    return QString::asprintf(":%3d,%3d,%3d", c.red(), c.green(), c.blue());
}

void CEXColorCtr::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const int h = r.height();
    p.fillRect(r, palette().color(QPalette::Base));
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const QFontMetrics fm(font());
    p.drawText(QPoint(r.left() + 3 * h, r.top() + 4 + fm.ascent()), ValueText(m_colour));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect swatch = QRect(r.left(), r.top(), 3 * h, h).adjusted(2, 2, -2, -2);
    p.fillRect(swatch, ColorRef::ToQColor(m_colour));
    p.setPen(Qt::black);
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}
