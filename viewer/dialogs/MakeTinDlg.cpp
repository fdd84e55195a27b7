#include "viewer/dialogs/MakeTinDlg.h"

#include "viewer/dialogs/CCustomStatic.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/EditCommit.h"
#include "viewer/dialogs/InfoHeader.h"
#include "viewer/render/ViewSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MakeTinDlg::Values MakeTinDlg::Values::FromSettings(const ViewSettings& s, std::string text)
{
    return {std::move(text),
            {s.tinOption, s.splitBreakLines, s.splitPitchM, s.flattenParallelBreakLines, s.parallelDistanceM}};
}

void MakeTinDlg::Values::ToSettings(ViewSettings& s) const
{
    s.tinOption = options.tinOption;
    s.splitBreakLines = options.splitBreakLines;
    s.splitPitchM = options.splitPitchM;
    s.flattenParallelBreakLines = options.flattenParallelBreakLines;
    s.parallelDistanceM = options.parallelDistanceM;
}

MakeTinDlg::MakeTinDlg(QWidget* parent) : QDialog(parent)
{
    using C = ControlIds;
    setWindowTitle("TIN作成");
    DialogFont::Apply(this);
    auto* outer = new QVBoxLayout(this);
    auto* header = new InfoHeader(this);
    m_text = header->Text();
    outer->addWidget(header);

    auto* group = new QGroupBox("TIN生成オプション", this);
    auto* grid = new QGridLayout(group);
    m_options = new TinOptionControls(group);
    auto* o = m_options;
    auto* reduceLabel = new QLabel("折れ線の間引き", group);
    o->reduce->setVisible(false);
    reduceLabel->setVisible(false);
    grid->addWidget(o->remove, 0, 0, 1, 4);
    grid->addWidget(new QLabel("最辺長", group), 1, 1);
    grid->addWidget(o->maxEdge, 1, 2);
    grid->addWidget(new QLabel("m", group), 1, 3);
    grid->addWidget(o->consider, 2, 0, 1, 4);
    grid->addWidget(o->split, 3, 0, 1, 4);
    grid->addWidget(new QLabel("分割ピッチ", group), 4, 1);
    grid->addWidget(o->pitch, 4, 2);
    grid->addWidget(new QLabel("m", group), 4, 3);
    grid->addWidget(o->flat, 5, 0, 1, 4);
    grid->addWidget(new QLabel("平行距離", group), 6, 1);
    grid->addWidget(o->flatRange, 6, 2);
    grid->addWidget(new QLabel("m 以内", group), 6, 3);
    grid->setColumnMinimumWidth(0, 16);
    outer->addWidget(group);

    auto* buttons = new QHBoxLayout;
    auto* ok = C::Create<QPushButton>(this, 1, "作成開始");
    auto* cancel = C::Create<QPushButton>(this, 2, "キャンセル");
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        EditCommit::CommitFocused(this);
        m_values.options = m_options->Store();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {ok, cancel});
}

void MakeTinDlg::SetValues(const Values& values)
{
    m_values = values;
    m_text->setText(QString::fromStdString(values.text));
    m_options->Load(values.options);
}
