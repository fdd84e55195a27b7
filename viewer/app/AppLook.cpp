#include "viewer/app/AppLook.h"

namespace {

QPalette Make(QColor window, QColor base, QColor text, QColor highlight)
{
    QPalette palette(window);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window.lighter(105));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QPalette Office2007(int style)
{
    switch (style) {
    case 1:   // black
        return Make(QColor(83, 83, 83), QColor(240, 240, 240), QColor(235, 235, 235), QColor(255, 160, 40));
    case 2:   // aqua
        return Make(QColor(196, 222, 226), Qt::white, Qt::black, QColor(60, 150, 170));
    case 3:   // silver
        return Make(QColor(208, 212, 221), Qt::white, Qt::black, QColor(110, 120, 150));
    default:  // blue
        return Make(QColor(191, 219, 255), Qt::white, Qt::black, QColor(51, 94, 168));
    }
}

}  // namespace

QPalette AppLook::PaletteFor(unsigned id, int& office2007Style)
{
    switch (id) {
    case 205:
        return Make(QColor(212, 208, 200), Qt::white, Qt::black, QColor(10, 36, 106));
    case 206:
        return Make(QColor(236, 233, 216), Qt::white, Qt::black, QColor(49, 106, 197));
    case 207:
        return Make(QColor(240, 240, 240), Qt::white, Qt::black, QColor(51, 153, 255));
    case 208:
        return Make(QColor(219, 232, 252), Qt::white, Qt::black, QColor(75, 112, 181));
    case 209:
        return Make(QColor(238, 237, 229), Qt::white, Qt::black, QColor(49, 106, 197));
    case 210:
        return Make(QColor(233, 236, 238), Qt::white, Qt::black, QColor(51, 153, 255));
    case 215:
        office2007Style = 0;
        return Office2007(0);
    case 216:
        office2007Style = 1;
        return Office2007(1);
    case 217:
        office2007Style = 3;
        return Office2007(3);
    case 218:
        office2007Style = 2;
        return Office2007(2);
    case 219:
        return Make(QColor(245, 246, 247), Qt::white, Qt::black, QColor(0, 120, 215));
    default:
        return Office2007(office2007Style);
    }
}
