#include "viewer/grouppane/GroupImages.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace grouppane {

namespace {

// The standard sixteen: black, dark red, dark green, olive, navy, purple, teal,
// silver, grey, red, green, yellow, blue, magenta, cyan, white.
enum Std { kBlack, kMaroon, kGreen, kOlive, kNavy, kPurple, kTeal, kSilver, kGrey, kRed, kLime, kYellow, kBlue, kFuchsia, kAqua, kWhite };

// The colours one image is drawn with: an outline, a fill and a second fill. The
// low-colour strip takes them from the standard sixteen; the high-colour one uses
// softer tones of the same hues.
struct Inks {
    QColor line;
    QColor fill;
    QColor fill2;
};

Inks InksFor(int image, bool high)
{
    const auto s = [](Std c) { return QColor(StandardColours()[c]); };
    switch (image) {
    case 0: return high ? Inks{QColor(30, 60, 120), QColor(90, 140, 210), QColor(160, 195, 240)} : Inks{s(kNavy), s(kBlue), s(kAqua)};
    case 1: return high ? Inks{QColor(120, 90, 20), QColor(235, 195, 80), QColor(250, 225, 140)} : Inks{s(kOlive), s(kYellow), s(kWhite)};
    case 2: return high ? Inks{QColor(20, 90, 30), QColor(60, 170, 70), QColor(60, 170, 70)} : Inks{s(kGreen), s(kLime), s(kLime)};
    case 3: return high ? Inks{QColor(110, 30, 110), QColor(170, 70, 170), QColor(170, 70, 170)} : Inks{s(kPurple), s(kFuchsia), s(kFuchsia)};
    case 4: return high ? Inks{QColor(20, 90, 100), QColor(80, 180, 190), QColor(150, 215, 220)} : Inks{s(kTeal), s(kAqua), s(kWhite)};
    case 5: return high ? Inks{QColor(130, 60, 20), QColor(215, 130, 60), QColor(240, 190, 140)} : Inks{s(kMaroon), s(kOlive), s(kSilver)};
    default: return high ? Inks{QColor(50, 50, 50), QColor(110, 110, 110), QColor(200, 200, 200)} : Inks{s(kBlack), s(kGrey), s(kSilver)};
    }
}

// One tree image in the 16 x 16 square at the painter's origin.
void DrawTreeImage(QPainter& p, int image, bool high)
{
    const Inks ink = InksFor(image, high);
    p.setPen(ink.line);
    switch (image) {
    case 0: { // the whole scene: a block seen from above and aside
        p.setBrush(ink.fill2);
        p.drawPolygon(QPolygon({QPoint(1, 5), QPoint(5, 1), QPoint(14, 1), QPoint(10, 5)}));
        p.setBrush(ink.fill);
        p.drawRect(1, 5, 9, 9);
        p.drawPolygon(QPolygon({QPoint(10, 5), QPoint(14, 1), QPoint(14, 10), QPoint(10, 14)}));
        break;
    }
    case 1: // a section: a folder
        p.setBrush(ink.fill);
        p.drawRect(1, 4, 13, 10);
        p.setBrush(ink.fill2);
        p.drawRect(1, 2, 5, 2);
        break;
    case 2: // points
        p.setBrush(ink.fill);
        for (const QPoint c : {QPoint(2, 3), QPoint(9, 2), QPoint(5, 8), QPoint(12, 9), QPoint(3, 12), QPoint(10, 13)})
            p.drawRect(c.x(), c.y(), 2, 2);
        break;
    case 3: // lines between points
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygon({QPoint(1, 13), QPoint(5, 4), QPoint(10, 10), QPoint(14, 2)}));
        p.setBrush(ink.fill);
        for (const QPoint c : {QPoint(1, 13), QPoint(5, 4), QPoint(10, 10), QPoint(14, 2)})
            p.drawRect(c.x() - 1, c.y() - 1, 2, 2);
        break;
    case 4: // a TIN: two triangles
        p.setBrush(ink.fill);
        p.drawPolygon(QPolygon({QPoint(1, 14), QPoint(7, 2), QPoint(9, 14)}));
        p.setBrush(ink.fill2);
        p.drawPolygon(QPolygon({QPoint(7, 2), QPoint(14, 9), QPoint(9, 14)}));
        break;
    case 5: // a CAD figure kind: a drafted circle on a ruled line
        p.setBrush(ink.fill2);
        p.drawEllipse(QRect(3, 2, 10, 10));
        p.setBrush(ink.fill);
        p.drawRect(1, 12, 13, 2);
        break;
    default: // a point-cloud group: a box of points
        p.setBrush(ink.fill2);
        p.drawRect(1, 2, 13, 11);
        p.setPen(Qt::NoPen);
        p.setBrush(ink.fill);
        for (int y = 4; y < 12; y += 3)
            for (int x = 3 + (y / 3) % 2; x < 13; x += 3)
                p.drawRect(x, y, 2, 2);
        break;
    }
}

// One toolbar button in the 16 x 15 rectangle at the painter's origin: a check box
// ticked (show all) or empty (hide all) over a small tree.
void DrawToolImage(QPainter& p, int image, bool high)
{
    const QColor line = high ? QColor(40, 40, 40) : QColor(StandardColours()[kBlack]);
    const QColor box = QColor(StandardColours()[kWhite]);
    const QColor tick = high ? QColor(30, 140, 50) : QColor(StandardColours()[kGreen]);
    const QColor branch = high ? QColor(120, 120, 120) : QColor(StandardColours()[kGrey]);
    p.setPen(branch);
    p.drawLine(3, 1, 3, 12);
    p.drawLine(3, 6, 7, 6);
    p.drawLine(3, 12, 7, 12);
    p.setPen(line);
    p.setBrush(box);
    p.drawRect(7, 3, 8, 8);
    if (image == 0) {
        p.setPen(tick);
        p.drawLine(9, 7, 10, 9);
        p.drawLine(10, 9, 13, 4);
        p.drawLine(9, 6, 10, 8);
        p.drawLine(10, 8, 13, 3);
    }
}

QImage DrawStrip(int count, int width, int height, const auto& drawOne)
{
    QImage strip(count * width, height, QImage::Format_RGB32);
    strip.fill(kMaskColour);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);  // no blend with the mask colour
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(i * width, 0);
        p.setClipRect(0, 0, width, height);
        drawOne(p, i);
        p.restore();
    }
    return strip;
}

} // namespace

const std::vector<QRgb>& StandardColours()
{
    static const std::vector<QRgb> colours = {
        qRgb(0, 0, 0),     qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0), qRgb(0, 0, 128),   qRgb(128, 0, 128),
        qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
        qRgb(0, 0, 255),   qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return colours;
}

QImage DrawImageStrip(unsigned bitmap)
{
    switch (bitmap) {
    case kTreeImages:
    case kTreeImagesHighColour: {
        const bool high = bitmap == kTreeImagesHighColour;
        return DrawStrip(kTreeImageCount, kTreeImageWidth, kTreeImageHeight,
                         [high](QPainter& p, int i) { DrawTreeImage(p, i, high); });
    }
    case kToolBarImages:
    case kToolBarImagesHighColour: {
        const bool high = bitmap == kToolBarImagesHighColour;
        return DrawStrip(kToolImageCount, kToolImageWidth, kToolImageHeight,
                         [high](QPainter& p, int i) { DrawToolImage(p, i, high); });
    }
    default: return QImage();
    }
}

std::vector<QIcon> ImageList(unsigned bitmap)
{
    const QImage strip = DrawImageStrip(bitmap);
    if (strip.isNull())
        return {};
    const bool tree = bitmap == kTreeImages || bitmap == kTreeImagesHighColour;
    const int width = tree ? kTreeImageWidth : kToolImageWidth;
    QImage masked = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if (line[x] == kMaskColour)
                line[x] = qRgba(0, 0, 0, 0);
    }
    std::vector<QIcon> icons;
    for (int i = 0; i < strip.width() / width; ++i)
        icons.emplace_back(QPixmap::fromImage(masked.copy(i * width, 0, width, strip.height())));
    return icons;
}

unsigned TreeImageBitmap(int screenDepth) { return screenDepth > 8 ? kTreeImagesHighColour : kTreeImages; }

unsigned ToolBarImageBitmap(int screenDepth) { return screenDepth > 8 ? kToolBarImagesHighColour : kToolBarImages; }

QIcon GroupImageWithSwatch(const QIcon& groupImage, QColor colour)
{
    QPixmap pixmap = groupImage.pixmap(QSize(kTreeImageWidth, kTreeImageHeight));
    if (pixmap.isNull()) {
        pixmap = QPixmap(kTreeImageWidth, kTreeImageHeight);
        pixmap.fill(Qt::transparent);
    }
    QPainter p(&pixmap);
    p.fillRect(QRect(0, 2, kTreeImageWidth - 2, kTreeImageHeight - 4), colour);
    return QIcon(pixmap);
}

} // namespace grouppane
