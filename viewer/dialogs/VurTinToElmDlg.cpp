#include "viewer/dialogs/VurTinToElmDlg.h"

#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

VurTinToElmDlg::VurTinToElmDlg(QWidget* parent)
    : QDialog(parent), m_lines(ControlIds::Create<QRadioButton>(this, 32938, "TINの構成線")),
      m_points(ControlIds::Create<QRadioButton>(this, 32939, "TINの構成点"))
{
    setWindowTitle("TINのCAD図形登録");
    DialogFont::Apply(this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("TINの図柄をCAD図形に変換します", this), 0, 0, 1, 3);
    grid->addWidget(new QLabel("対象：", this), 1, 0);
    grid->addWidget(m_lines, 1, 1);
    grid->addWidget(m_points, 2, 1);
    auto* ok = ControlIds::Create<QPushButton>(this, 1, "OK");
    auto* cancel = ControlIds::Create<QPushButton>(this, 2, "キャンセル");
    grid->addWidget(ok, 3, 1);
    grid->addWidget(cancel, 3, 2);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_values.kind = m_points->isChecked() ? 1 : 0;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAccepts, {ok, cancel});
}

void VurTinToElmDlg::SetValues(const Values& values)
{
    m_values = values;
    (values.kind == 0 ? m_lines : m_points)->setChecked(true);
}
