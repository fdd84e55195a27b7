#include "viewer/dialogs/InfoHeader.h"

#include "viewer/dialogs/CCustomStatic.h"
#include "viewer/dialogs/ControlIds.h"

#include <QHBoxLayout>
#include <QStyle>

InfoHeader::InfoHeader(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    auto* layout = new QHBoxLayout(this);
    auto* icon = ControlIds::Create<CCustomStatic>(this, 624);
    icon->SetWhiteBackground();
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_text = ControlIds::Create<CCustomStatic>(this, 623);
    m_text->SetWhiteBackground();
    m_text->setWordWrap(true);
    layout->addWidget(icon);
    layout->addWidget(m_text, 1);
}
