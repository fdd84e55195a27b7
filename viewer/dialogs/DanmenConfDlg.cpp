#include "viewer/dialogs/DanmenConfDlg.h"

#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CNumericDoubleEditEx.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/render/ViewSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

DanmenConfDlg::DanmenConfDlg(ViewSettings* settings, QWidget* view, std::function<void()> drawCrossSection)
    : QDialog(view), m_settings(settings), m_draw(std::move(drawCrossSection))
{
    using C = ControlIds;
    // A QDialog is a window of its own unless told otherwise.
    setWindowFlags(Qt::Widget);
    DialogFont::Apply(this);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    m_tin = C::Create<QCheckBox>(this, 35390, "TIN");
    auto* points = C::Create<QCheckBox>(this, 35391, "点群");
    m_tolerance = C::Create<CNumericDoubleEditEx>(this, 35392);
    m_spacing = C::Create<CNumericDoubleEditEx>(this, 35393);
    auto* toleranceArrows = C::Create<ArrowPair>(this, 35394);
    auto* spacingArrows = C::Create<ArrowPair>(this, 35395);
    grid->addWidget(m_tin, 0, 0);
    grid->addWidget(points, 0, 1);
    grid->addWidget(new QLabel("方向較差（m）", this), 1, 0);
    grid->addWidget(m_tolerance, 1, 1);
    grid->addWidget(toleranceArrows, 1, 2);
    grid->addWidget(new QLabel("前点からの離れ（m以上）", this), 2, 0);
    grid->addWidget(m_spacing, 2, 1);
    grid->addWidget(spacingArrows, 2, 2);

    m_tolerance->Bind(&settings->sectionDirectionToleranceM, 0.001, 9999.999, 3);
    m_spacing->Bind(&settings->sectionPointSpacingM, 0.0, 10.0, 2);
    m_tin->setChecked(settings->sectionThroughTins != 0);
    points->setChecked(settings->sectionThroughPoints != 0);

    connect(m_tin, &QCheckBox::clicked, this, [this](bool on) {
        m_settings->sectionThroughTins = on ? 1 : 0;
        Redraw();
    });
    connect(points, &QCheckBox::clicked, this, [this](bool on) {
        m_settings->sectionThroughPoints = on ? 1 : 0;
        Redraw();
    });
    for (CNumericDoubleEditEx* edit : {m_tolerance, m_spacing}) {
        connect(edit, &CNumericDoubleEditEx::ValueChanged, this, &DanmenConfDlg::Redraw);
        edit->installEventFilter(this);
    }
    connect(toleranceArrows, &ArrowPair::Stepped, this, [this](int d) {
        if (m_tolerance->StepValue(d * 0.1))
            m_pending = true;
    });
    connect(spacingArrows, &ArrowPair::Stepped, this, [this](int d) {
        if (m_spacing->StepValue(d * 0.1))
            m_pending = true;
    });
    for (ArrowPair* arrows : {toleranceArrows, spacingArrows}) {
        connect(arrows, &ArrowPair::Released, this, [this] {
            if (m_pending) {
                m_pending = false;
                Redraw();
            }
        });
    }
    adjustSize();
    move(0, 0);
    m_tin->setFocus();
}

bool DanmenConfDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* edit = qobject_cast<CNumericDoubleEditEx*>(watched);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (!edit || (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape))
        return false;
    if (key == Qt::Key_Escape)
        edit->UpdateText();
    // Leaving the edit takes its text, and a changed value redraws.
    m_tin->setFocus(Qt::OtherFocusReason);
    return true;
}

void DanmenConfDlg::Redraw()
{
    if (m_draw)
        m_draw();
}
