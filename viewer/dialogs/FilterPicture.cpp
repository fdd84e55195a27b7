#include "viewer/dialogs/FilterPicture.h"

#include <QPainter>

#include <array>
#include <cmath>

namespace {

// A fixed scatter in a 100 x 100 frame: x, y and a height 0..1.
constexpr std::array<std::array<double, 3>, 24> kPoints{{
    {8, 12, .2}, {18, 30, .6}, {27, 9, .4}, {35, 22, .9}, {12, 44, .1}, {44, 38, .5},
    {57, 14, .3}, {63, 31, .8}, {71, 8, .6}, {84, 20, .2}, {92, 41, .7}, {78, 47, .4},
    {9, 63, .3}, {22, 78, .9}, {33, 58, .2}, {46, 71, .6}, {52, 88, .1}, {61, 62, .7},
    {69, 79, .5}, {83, 66, .3}, {91, 89, .8}, {38, 93, .4}, {15, 92, .6}, {98, 4, .9}}};

bool Kept(int picture, std::size_t i)
{
    const auto& p = kPoints[i];
    switch (picture) {
    case 20004:  // the far-off corner points are the outliers
        return !(p[0] > 95 || (p[0] < 10 && p[1] < 15));
    case 20005:  // isolated points go
        return i % 5 != 3;
    default: {    // one point per cell of a 2 x 2 grid: the lowest, highest or first
        const int cell = (p[0] >= 50 ? 1 : 0) + (p[1] >= 50 ? 2 : 0);
        std::size_t best = i;
        for (std::size_t j = 0; j < kPoints.size(); ++j) {
            const auto& q = kPoints[j];
            if ((q[0] >= 50 ? 1 : 0) + (q[1] >= 50 ? 2 : 0) != cell)
                continue;
            const bool better = picture == 20002 ? q[2] < kPoints[best][2]
                              : picture == 20003 ? q[2] > kPoints[best][2]
                                                 : j < best;
            if (better)
                best = j;
        }
        return best == i;
    }
    }
}

} // namespace

FilterPicture::FilterPicture(int pictureId, QWidget* parent) : QPushButton(parent), m_pictureId(pictureId)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void FilterPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(4, 4, -4, -4);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawRect(r);
    const double sx = r.width() / 100.0;
    const double sy = r.height() / 100.0;
    if (m_pictureId >= 20001 && m_pictureId <= 20003) {
        p.drawLine(QPointF(r.left() + 50 * sx, r.top()), QPointF(r.left() + 50 * sx, r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + 50 * sy), QPointF(r.right(), r.top() + 50 * sy));
    }
    if (m_pictureId == 20005) {
        p.setPen(QPen(QColor(80, 140, 220), 1, Qt::DashLine));
        p.drawEllipse(QPointF(r.left() + 46 * sx, r.top() + 71 * sy), 18 * sx, 18 * sy);
    }
    const double radius = std::max(2.0, std::min(sx, sy) * 2.5);
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        const QPointF at(r.left() + kPoints[i][0] * sx, r.top() + kPoints[i][1] * sy);
        const bool kept = Kept(m_pictureId, i);
        p.setPen(Qt::NoPen);
        p.setBrush(kept ? QColor(220, 60, 40) : QColor(190, 190, 190));
        p.drawEllipse(at, radius, radius);
    }
}
