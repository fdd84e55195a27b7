#include "viewer/dialogs/DstConfDlg.h"

#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/render/ViewSettings.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include <utility>

DstConfDlg::DstConfDlg(ViewSettings* settings, QWidget* view, std::function<void()> redraw)
    : QDialog(view), m_settings(settings), m_view(view), m_redraw(std::move(redraw))
{
    // A QDialog is a window of its own unless told otherwise.
    setWindowFlags(Qt::Widget);
    DialogFont::Apply(this);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    const struct {
        int id;
        const char* text;
        int ViewSettings::*setting;
    } boxes[] = {{35353, "平面距離", &ViewSettings::showPlaneDistance},
                 {35354, "斜距離", &ViewSettings::showSlopeDistance},
                 {35355, "高低差", &ViewSettings::showHeightDifference}};
    for (const auto& b : boxes) {
        auto* box = ControlIds::Create<QCheckBox>(this, b.id, b.text);
        box->setChecked(settings->*b.setting != 0);
        layout->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, setting = b.setting](bool on) {
            m_settings->*setting = on ? 1 : 0;
            if (m_redraw)
                m_redraw();
            else if (m_view)
                m_view->update();
        });
    }
    adjustSize();
    move(0, 0);
}
