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

// Axis letters of the triad in a 1024 x 128 strip, 128 pixels a cell.
QImage OverlayStrip()
{
    QImage image(1024, 128, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setPixelSize(96);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const char* labels[] = {"X", "Y", "Z", "N", "E", "S", "W", "+"};
    for (int i = 0; i < 8; ++i) painter.drawText(QRect(i * 128, 0, 128, 128), Qt::AlignCenter, labels[i]);
    return image;
}

// A face of the orientation cube with a direction letter.
QImage OverlaySquare(const char* label, QColor face)
{
    QImage image(384, 384, QImage::Format_RGBA8888);
    image.fill(face);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QPen(Qt::white, 12));
    painter.drawRect(QRect(6, 6, 372, 372));
    QFont font;
    font.setPixelSize(220);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 384, 384), Qt::AlignCenter, label);
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
        return BytesOf(OverlaySquare("N", QColor(40, 80, 160, 220)));
    case 35207:
        return BytesOf(OverlaySquare("S", QColor(160, 60, 40, 220)));
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
