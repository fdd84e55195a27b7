#include "viewer/dialogs/HintToolTip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "viewer/dialogs/LegendSlots.h"
#include "viewer/dialogs/LegendDrawing.h"
#include "viewer/dialogs/LegendFonts.h"

namespace {
constexpr int kTextLeft = 10;
constexpr int kTextTop = 2;
constexpr int kLineGap = 2;
}  // namespace

ToolTip::ToolTip(const QStringList& lines, QPoint anchor, COLORREF textColour)
    : m_lines(lines), m_anchor(anchor), m_textColour(textColour), m_font(HintFont())
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(m_font);
    Measure();
}

void ToolTip::Measure()
{
    const QFontMetrics metrics(m_font);
    int widest = 0;
    for (const QString& line : m_lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    m_width = widest + 2 * kTextLeft;
    m_height = static_cast<int>(m_lines.size()) * (metrics.height() + kLineGap) + kTextTop;
}

void ToolTip::CreatePopup(QWidget* owner)
{
    setParent(owner != nullptr ? owner->window() : nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(m_width, m_height);
}

void ToolTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::white));
    painter.setBrush(ColorRefToQColor(m_background));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(ColorRefToQColor(m_textColour));
    const QFontMetrics metrics(m_font);
    int y = kTextTop;
    for (const QString& line : m_lines) {
        painter.drawText(QRect(kTextLeft, y, width() - kTextLeft, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
        y += metrics.height() + kLineGap;
    }
}

void ToolTip::wheelEvent(QWheelEvent* event)
{
    event->accept();
    QWidget* view = PopupDocumentView();
    if (view == nullptr) return;
    // The event's position is the hint's own: the view zooms about the point
    // under the pointer only with its position in the view's coordinates.
    const QPointF local = view->mapFromGlobal(event->globalPosition());
    QApplication::postEvent(view, new QWheelEvent(local, event->globalPosition(), event->pixelDelta(),
                                                  event->angleDelta(), event->buttons(), event->modifiers(),
                                                  event->phase(), event->inverted(), event->source()));
}
