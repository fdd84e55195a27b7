#include "viewer/dialogs/CColorAddDlg.h"

#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/CNumericIntEdit.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"

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
    });
    connect(m_sample, &QPushButton::clicked, this, [this] {
        m_sample->SetSunken(true);
        if (const auto chosen = ChooseColor(m_values.colour, this))
            m_values.colour = *chosen;
        m_sample->SetColor(m_values.colour);
        m_sample->SetSunken(false);
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        EditCommit::CommitFocused(this);
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {ok, cancel});
}

void CColorAddDlg::SetValues(const Values& values)
{
    m_values = values;
    m_level->Bind(&m_values.level, 0, 255);
    m_sample->SetColor(values.colour);
}
