#include "viewer/render/PixelResources.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstring>

namespace {

std::vector<std::uint8_t> BytesOf(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(rgba.width()) * rgba.height() * 4);
    for (int y = 0; y < rgba.height(); ++y) {
        std::memcpy(bytes.data() + static_cast<std::size_t>(y) * rgba.width() * 4, rgba.constScanLine(y),
                    static_cast<std::size_t>(rgba.width()) * 4);
    }
    return bytes;
}

// A ring with a centre dot, opaque where drawn (the sprite is alpha-tested at 0.5).
QImage MarkerSprite()
{
    QImage image(64, 64, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 220, 40), 6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(6, 6, 52, 52));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 80, 40));
    painter.drawEllipse(QRectF(24, 24, 16, 16));
    return image;
}

// The face labels of the orientation cube in a 1024 x 128 atlas of 128-pixel
// cells: up, down, west, east, south, north in cells 0 to 5.
QImage OverlayStrip()
{
    QImage image(1024, 128, QImage::Format_RGBA8888);
    image.fill(QColor(255, 255, 255, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(84);
    font.setBold(true);
    painter.setFont(font);
    static const char* const kLabels[] = {"上", "下", "西", "東", "南", "北"};
    for (int i = 0; i < 6; ++i) {
        const QRect cell(i * 128, 0, 128, 128);
        painter.setPen(QPen(QColor(90, 110, 130), 6));
        painter.drawRect(cell.adjusted(3, 3, -3, -3));
        painter.setPen(QColor(30, 40, 60));
        painter.drawText(cell, Qt::AlignCenter, QString::fromUtf8(kLabels[i]));
    }
    return image;
}

// The compass plate under the cube: a ring with the four points, north at the
// top of the picture. Seen from below the plate shows it mirrored, in its own tint.
QImage CompassPlate(QColor tint, bool fromBelow)
{
    QImage image(384, 384, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (fromBelow) {
        painter.translate(384, 0);
        painter.scale(-1, 1);
    }
    painter.setPen(QPen(tint.darker(160), 10));
    painter.setBrush(tint);
    painter.drawEllipse(QRectF(12, 12, 360, 360));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 230));
    const QPointF c(192, 192);
    painter.drawPolygon(QPolygonF({c + QPointF(0, -170), c + QPointF(22, 0), c + QPointF(0, 170), c + QPointF(-22, 0)}));
    painter.drawPolygon(QPolygonF({c + QPointF(-170, 0), c + QPointF(0, 22), c + QPointF(170, 0), c + QPointF(0, -22)}));
    painter.setBrush(QColor(200, 30, 30, 255));
    painter.drawPolygon(QPolygonF({c + QPointF(0, -170), c + QPointF(22, 0), c + QPointF(-22, 0)}));
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(44);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(162, 20, 60, 50), Qt::AlignCenter, QStringLiteral("N"));
    return image;
}

}  // namespace

std::vector<std::uint8_t> PixelResources::Load(int id)
{
    switch (id) {
    case 33000:
        return BytesOf(MarkerSprite());
    case 35205:
        return BytesOf(OverlayStrip());
    case 35206:
        return BytesOf(CompassPlate(QColor(40, 80, 160, 220), false));
    case 35207:
        return BytesOf(CompassPlate(QColor(160, 60, 40, 220), true));
    default:
        return {};
    }
}

std::vector<std::uint8_t> PixelResources::CopyInto(const std::vector<std::uint8_t>& resource, std::size_t bufferBytes)
{
    std::vector<std::uint8_t> buffer(bufferBytes, 0);
    std::copy_n(resource.begin(), std::min(resource.size(), bufferBytes), buffer.begin());
    return buffer;
}
