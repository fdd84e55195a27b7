#include "viewer/dialogs/LegendMessagePaint.h"

#include <QPainter>

#include "viewer/dialogs/LegendDrawing.h"
#include "viewer/dialogs/LegendFonts.h"

MessagePaint::MessagePaint(COLORREF background) : m_background(background), m_font(LegendFont())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setFont(m_font);
}

void MessagePaint::Create(QWidget* owner)
{
    setParent(owner != nullptr ? owner->window() : nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(m_width, m_height);
    show();
}

void MessagePaint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(m_font);
    painter.fillRect(rect(), ColorRefToQColor(m_background));
    switch (m_kind) {
    case kSlope:
        DrawSlopeLegend(painter, rect(), m_background, m_colourSet);
        break;
    case kElevation:
        if (LegendBoundsDrawable(m_top, m_bottom))
            DrawElevationLegend(painter, rect(), m_background, m_top, m_bottom, m_stops);
        break;
    case kIntensity:
        if (LegendBoundsDrawable(m_top, m_bottom))
            DrawIntensityLegend(painter, rect(), m_background, m_top, m_bottom, m_stops);
        break;
    default:
        break;
    }
}
