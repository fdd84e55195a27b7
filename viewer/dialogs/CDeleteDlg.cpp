#include "viewer/dialogs/CDeleteDlg.h"

#include "outside/StoreMarkers.h"
#include "platform/UiMessages.h"
#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"
#include "viewer/render/ViewSettings.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

CDeleteDlg::CDeleteDlg(ViewSettings* settings, QWidget* view, tessara::UiMessageTarget* target)
    : QDialog(view, Qt::Tool), m_settings(settings), m_view(view), m_target(target)
{
    using C = ControlIds;
    setWindowTitle("削除");
    DialogFont::Apply(this);
    auto* grid = new QGridLayout(this);
    m_all = C::Create<QRadioButton>(this, 32929, "全て");
    m_selected = C::Create<QRadioButton>(this, 32930, "選択図形");
    m_byHeight = C::Create<QRadioButton>(this, 32931, "高さ指定");
    m_inside = C::Create<QRadioButton>(this, 32932, "範囲を削除");
    m_outside = C::Create<QRadioButton>(this, 32933, "範囲外を削除");
    auto* modeGroup = new QButtonGroup(this);
    auto* rangeGroup = new QButtonGroup(this);
    for (QRadioButton* r : {m_all, m_selected, m_byHeight})
        modeGroup->addButton(r);
    rangeGroup->addButton(m_inside);
    rangeGroup->addButton(m_outside);
    m_lowerEdit = C::Create<CNumericDoubleEdit>(this, 32934);
    m_upperEdit = C::Create<CNumericDoubleEdit>(this, 32935);
    auto* lowerArrows = C::Create<ArrowPair>(this, 32936);
    auto* upperArrows = C::Create<ArrowPair>(this, 32937);
    grid->addWidget(m_all, 0, 0);
    grid->addWidget(m_selected, 0, 1);
    grid->addWidget(m_byHeight, 0, 2);
    grid->addWidget(m_inside, 1, 1);
    grid->addWidget(m_outside, 1, 2);
    grid->addWidget(new QLabel("標高", this), 2, 0);
    grid->addWidget(m_lowerEdit, 2, 1);
    grid->addWidget(lowerArrows, 2, 2);
    grid->addWidget(new QLabel("～", this), 3, 0);
    grid->addWidget(m_upperEdit, 3, 1);
    grid->addWidget(upperArrows, 3, 2);
    auto* ok = C::Create<QPushButton>(this, 1, "OK");
    auto* cancel = C::Create<QPushButton>(this, 2, "キャンセル");
    grid->addWidget(ok, 4, 1);
    grid->addWidget(cancel, 4, 2);

    m_lower = settings->elevationBound1;
    m_upper = settings->elevationBound2;
    m_lowerEdit->Bind(&m_lower, -kElevationLimit, kElevationLimit, 4);
    m_upperEdit->Bind(&m_upper, -kElevationLimit, kElevationLimit, 4);
    (settings->deleteMode == 2 ? m_byHeight : (settings->deleteMode == 1 ? m_selected : m_all))->setChecked(true);
    (settings->elevationDeleteMode == 1 ? m_outside : m_inside)->setChecked(true);
    ApplyEnabling();

    for (QRadioButton* r : {m_all, m_selected, m_byHeight})
        connect(r, &QRadioButton::clicked, this, &CDeleteDlg::ApplyEnabling);
    connect(lowerArrows, &ArrowPair::Stepped, this, [this](int d) { m_lowerEdit->StepValue(d * 0.1); });
    connect(upperArrows, &ArrowPair::Stepped, this, [this](int d) { m_upperEdit->StepValue(d * 0.1); });
    connect(ok, &QPushButton::clicked, this, &CDeleteDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CDeleteDlg::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {ok, cancel});
    adjustSize();
    CentreOnView();
}

void CDeleteDlg::CentreOnView()
{
    if (!m_view)
        return;
    const QRect v(m_view->mapToGlobal(QPoint(0, 0)), m_view->size());
    move(v.left() + v.width() / 2 - width() / 2, v.top() + v.height() / 2 - height() / 2);
}

void CDeleteDlg::ApplyEnabling()
{
    const bool byHeight = m_byHeight->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_inside), static_cast<QWidget*>(m_outside),
                       static_cast<QWidget*>(m_lowerEdit), static_cast<QWidget*>(m_upperEdit)})
        w->setEnabled(byHeight);
}

bool CDeleteDlg::SetPickedElevation(double z)
{
    if (IsUnsetValue(z))
        return false;
    CNumericDoubleEdit* edit = m_lowerEdit->hasFocus() ? m_lowerEdit : (m_upperEdit->hasFocus() ? m_upperEdit : nullptr);
    if (!edit)
        return false;
    edit->SetValue(z);
    edit->selectAll();
    return true;
}

void CDeleteDlg::OnOk()
{
    EditCommit::CommitFocused(this);
    m_settings->deleteMode = static_cast<short>(m_byHeight->isChecked() ? 2 : (m_selected->isChecked() ? 1 : 0));
    m_settings->elevationDeleteMode = static_cast<short>(m_outside->isChecked() ? 1 : 0);
    m_settings->elevationBound1 = m_lower;
    m_settings->elevationBound2 = m_upper;
    Finish(true);
}

void CDeleteDlg::reject()
{
    Finish(false);
}

void CDeleteDlg::closeEvent(QCloseEvent* event)
{
    Finish(false);
    event->accept();
}

void CDeleteDlg::Finish(bool apply)
{
    if (m_finished)
        return;
    m_finished = true;
    if (apply && m_target)
        tessara::PostUiMessage(*m_target, kMsgApply, 0, 0);
    hide();
    if (m_target)
        tessara::PostUiMessage(*m_target, kMsgClosed, 0, 0);
}
