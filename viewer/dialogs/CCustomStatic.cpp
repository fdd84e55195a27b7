#include "viewer/dialogs/CCustomStatic.h"

CCustomStatic::CCustomStatic(QWidget* parent) : QLabel(parent) {}

void CCustomStatic::SetWhiteBackground()
{
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
    update();
}
