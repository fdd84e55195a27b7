#include "viewer/dialogs/FilterDlgBase.h"

#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/dialogs/CCustomStatic.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"
#include "viewer/dialogs/FilterPicture.h"
#include "viewer/dialogs/InfoHeader.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FilterDlgBase::FilterDlgBase(QWidget* parent, const QString& title, const QString& description, int pictureId)
    : QDialog(parent), m_fields(new QGridLayout)
{
    setWindowTitle(title);
    DialogFont::Apply(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);

    auto* header = new InfoHeader(this);
    header->Text()->setText(description);
    outer->addWidget(header);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(10, 4, 10, 4);
    body->addWidget(ControlIds::Create<FilterPicture>(this, 625, pictureId));
    body->addLayout(m_fields, 1);
    outer->addLayout(body, 1);
}

CCustomDblEdit* FilterDlgBase::AddDoubleField(int editId, int arrowsId, const QString& label, const QString& unit,
                                              const QString& caption)
{
    auto* edit = ControlIds::Create<CCustomDblEdit>(this, editId);
    edit->SetDecimals(2);
    edit->SetRange(0.01, 100.0);
    auto* arrows = ControlIds::Create<ArrowPair>(this, arrowsId);
    connect(arrows, &ArrowPair::Stepped, this, [edit](int d) { edit->StepValue(d * kDecimalStep); });
    PlaceField(edit, arrows, label, unit, caption);
    return edit;
}

CCustomIntEdit* FilterDlgBase::AddIntField(int editId, int arrowsId, const QString& label, const QString& unit,
                                           const QString& caption)
{
    auto* edit = ControlIds::Create<CCustomIntEdit>(this, editId);
    edit->SetRange(1, 100);
    auto* arrows = ControlIds::Create<ArrowPair>(this, arrowsId);
    connect(arrows, &ArrowPair::Stepped, this, [edit](int d) { edit->StepValue(d); });
    PlaceField(edit, arrows, label, unit, caption);
    return edit;
}

void FilterDlgBase::PlaceField(QWidget* edit, QWidget* arrows, const QString& label, const QString& unit,
                               const QString& caption)
{
    m_fields->addWidget(new QLabel(label, this), m_rows, 0);
    m_fields->addWidget(edit, m_rows, 1);
    m_fields->addWidget(arrows, m_rows, 2);
    m_fields->addWidget(new QLabel(unit, this), m_rows++, 3);
    if (!caption.isEmpty())
        m_fields->addWidget(new QLabel(caption, this), m_rows++, 1, 1, 3);
}

void FilterDlgBase::FinishLayout()
{
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 0, 10, 0);
    auto* defaults = ControlIds::Create<QPushButton>(this, 32927, "初期値");
    auto* ok = ControlIds::Create<QPushButton>(this, 1, "OK");
    auto* cancel = ControlIds::Create<QPushButton>(this, 2, "キャンセル");
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
    connect(defaults, &QPushButton::clicked, this, [this] { ResetDefaults(); });
    connect(ok, &QPushButton::clicked, this, &FilterDlgBase::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterMovesFocus);
}

void FilterDlgBase::OnOk()
{
    EditCommit::CommitFocused(this);
    Store();
    accept();
}
