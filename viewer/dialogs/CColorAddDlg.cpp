#include "viewer/dialogs/CColorAddDlg.h"

#include "platform/MessageBox.h"

#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/CNumericIntEdit.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CColorAddDlg::CColorAddDlg(QWidget* parent)
    : QDialog(parent), m_level(ControlIds::Create<CNumericIntEdit>(this, 35364)),
      m_sample(ControlIds::Create<CColorButton>(this, 35366))
{
    setWindowTitle("色調追加");
    DialogFont::Apply(this);
    m_level->setAttribute(Qt::WA_InputMethodEnabled, false);
    auto* arrows = ControlIds::Create<ArrowPair>(this, 35365);
    m_sample->setMinimumSize(60, 24);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("範囲（0～255）", this), 0, 0);
    grid->addWidget(m_level, 0, 1);
    grid->addWidget(arrows, 0, 2);
    grid->addWidget(m_sample, 1, 0, 1, 3);
    auto* ok = ControlIds::Create<QPushButton>(this, 1, "OK");
    auto* cancel = ControlIds::Create<QPushButton>(this, 2, "ｷｬﾝｾﾙ");
    grid->addWidget(ok, 2, 1);
    grid->addWidget(cancel, 2, 2);
    connect(arrows, &ArrowPair::Stepped, this, [this](int d) {
        const int next = m_values.level + d;
        if (next >= 1 && next <= 255)
            m_level->SetValue(next);
        m_levelRefused = false;
    });
    connect(m_sample, &QPushButton::clicked, this, [this] {
        m_sample->SetSunken(true);
        if (const auto chosen = ChooseColor(m_values.colour, this))
            m_values.colour = *chosen;
        m_sample->SetColor(m_values.colour);
        m_sample->SetSunken(false);
    });
    connect(ok, &QPushButton::clicked, this, &CColorAddDlg::OnOk);
    m_level->installEventFilter(this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {ok, cancel});
}

bool CColorAddDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Seen before the field itself shows its last good value again.
    if (watched == m_level && event->type() == QEvent::FocusOut) {
        int probe = 0;
        m_levelRefused = !m_level->Range().TakeText(m_level->text().toStdString(), probe);
    } else if (watched == m_level && event->type() == QEvent::FocusIn) {
        m_levelRefused = false;
    }
    return QDialog::eventFilter(watched, event);
}

void CColorAddDlg::OnOk()
{
    int probe = 0;
    const bool typedOutOfRange = m_level->hasFocus() ? !m_level->Range().TakeText(m_level->text().toStdString(), probe)
                                                     : m_levelRefused;
    if (typedOutOfRange) {
        // A level the field cannot take is out of range, not a level already there.
        tessara::MessageBox("範囲は1～254の整数を入力してください。", tessara::kDefaultMessageCaption,
                            tessara::MB_ICONHAND, this);
        m_level->setFocus(Qt::OtherFocusReason);
        m_level->selectAll();
        return;
    }
    EditCommit::CommitFocused(this);
    accept();
}

void CColorAddDlg::SetValues(const Values& values)
{
    m_values = values;
    m_level->Bind(&m_values.level, 0, 255);
    m_sample->SetColor(values.colour);
}
