#include "viewer/app/RibbonIcons.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

struct IconStyle {
    unsigned id;
    const char* glyph;
    QRgb colour;
};

// A glyph and a colour per command; others take the first character of their text.
constexpr IconStyle kStyles[] = {
    {32772, "\u25A4", 0xFF3C78C8}, {32774, "\u2699", 0xFF6A6A6A}, {32776, "\u2191", 0xFF2E8B57},
    {32777, "\u2193", 0xFF2E8B57}, {32778, "\u2190", 0xFF2E8B57}, {32779, "\u2192", 0xFF2E8B57},
    {32780, "\u25CE", 0xFF2E8B57}, {32781, "\u25C9", 0xFF2E8B57}, {32782, "C", 0xFF8B5A2B},
    {32783, "P", 0xFF8B5A2B},      {32784, "\u25B3", 0xFF8B5A2B}, {32785, "\u2234", 0xFF8B5A2B},
    {32786, "\u25A0", 0xFF4682B4}, {32787, "\u2261", 0xFF4682B4}, {32788, "\u2220", 0xFF4682B4},
    {32789, "\u25A6", 0xFF4682B4}, {32804, "\u2195", 0xFFB03060}, {32805, "\u2740", 0xFFB03060},
    {32806, "\u25CF", 0xFFB03060}, {32839, "\u2600", 0xFFB03060}, {32840, "\u2237", 0xFFB03060},
    {32841, "\u25D1", 0xFFB03060}, {32793, "\u25AD", 0xFF5F4B8B}, {32794, "#", 0xFF5F4B8B},
    {32795, "\u271B", 0xFF5F4B8B}, {32832, "\u21F1", 0xFF5F4B8B}, {32833, "N", 0xFF5F4B8B},
    {32834, "\u2194", 0xFF5F4B8B}, {32796, "\u29C9", 0xFF5F4B8B}, {32838, "\u2316", 0xFF5F4B8B},
    {35210, "\u21A6", 0xFF5F4B8B}, {35211, "\u2A05", 0xFF5F4B8B}, {32799, "i", 0xFF5F4B8B},
    {32831, "\u2630", 0xFF5F4B8B}, {57664, "?", 0xFF3C78C8},
    // The 編集 category: file, selection, TIN, point filters, host exchange.
    {32837, "\u21EA", 0xFF3C78C8}, {32800, "\u21B6", 0xFF3C78C8}, {32842, "\u2B20", 0xFFD2691E},
    {32801, "\u25C7", 0xFFD2691E}, {32803, "\u2702", 0xFFD2691E}, {32835, "\u2295", 0xFFD2691E},
    {32820, "\u25EC", 0xFF8B5A2B}, {32791, "\u25B2", 0xFF8B5A2B}, {32817, "\u2715", 0xFF8B5A2B},
    {32818, "\u2716", 0xFF8B5A2B}, {32819, "\u21C4", 0xFF8B5A2B}, {32807, "\u2592", 0xFF2E8B8B},
    {32808, "\u2B07", 0xFF2E8B8B}, {32809, "\u2B06", 0xFF2E8B8B}, {32812, "\u2299", 0xFF2E8B8B},
    {32813, "\u2A2F", 0xFF2E8B8B}, {32829, "\u21E9", 0xFF6A5ACD}, {32790, "\u21BB", 0xFF6A5ACD},
    {32830, "\u21CA", 0xFF6A5ACD}, {32792, "\u21BA", 0xFF6A5ACD}, {32798, "\u21E7", 0xFF6A5ACD},
    {35209, "\u2750", 0xFF6A5ACD},
};

constexpr double kDisabledOpacity = 0.35;

// The disabled look: grey, and mostly transparent, so it cannot pass for a live button.
QPixmap Faded(const QPixmap& pixmap)
{
    QImage grey = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, int(qAlpha(line[x]) * kDisabledOpacity));
        }
    }
    return QPixmap::fromImage(grey);
}

}  // namespace

QIcon RibbonIcons::ForCommand(unsigned id, const QString& text)
{
    QString glyph = text.left(1);
    QColor colour(90, 90, 90);
    for (const IconStyle& style : kStyles) {
        if (style.id == id) {
            glyph = QString::fromUtf8(style.glyph);
            colour = QColor::fromRgba(style.colour);
            break;
        }
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QLinearGradient fill(0, 0, 0, 32);
    fill.setColorAt(0.0, colour.lighter(140));
    fill.setColorAt(1.0, colour);
    painter.fillPath(frame, fill);
    painter.setPen(QPen(colour.darker(150), 1));
    painter.drawPath(frame);
    QFont font;
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, glyph);
    painter.end();
    QIcon icon(pixmap);
    icon.addPixmap(Faded(pixmap), QIcon::Disabled);
    return icon;
}
