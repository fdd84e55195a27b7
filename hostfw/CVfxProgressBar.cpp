#include "hostfw/CVfxProgressBar.h"

#include <QApplication>
#include <QProgressDialog>

CVfxProgressBar::CVfxProgressBar() = default;

CVfxProgressBar::~CVfxProgressBar()
{
    Close();
}

void CVfxProgressBar::Create(const std::string& text, int total)
{
    m_pos = 0;
    m_total = total;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !m_dialog) {
        m_dialog = std::make_unique<QProgressDialog>();
        m_dialog->setCancelButton(nullptr);
        m_dialog->setMinimumDuration(500);
    }
    SetText(text, total);
}

void CVfxProgressBar::SetText(const std::string& text, int total)
{
    m_pos = 0;
    m_total = total;
    if (m_dialog) {
        m_dialog->setLabelText(QString::fromStdString(text));
        m_dialog->setRange(0, total);
        m_dialog->setValue(0);
    }
}

void CVfxProgressBar::StepIt()
{
    if (m_pos < m_total)
        ++m_pos;
    if (m_dialog)
        m_dialog->setValue(m_pos);
}

void CVfxProgressBar::Close()
{
    m_dialog.reset();
}
