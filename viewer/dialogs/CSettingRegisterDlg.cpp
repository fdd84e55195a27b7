#include "viewer/dialogs/CSettingRegisterDlg.h"

#include "platform/MessageBox.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/GradationEditor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CSettingRegisterDlg::CSettingRegisterDlg(QWidget* parent)
    : QDialog(parent), m_name(ControlIds::Create<QLineEdit>(this, 35369))
{
    setWindowTitle("登録");
    DialogFont::Apply(this);
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel("設定名：", this);
    label->setBuddy(m_name);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    auto* ok = ControlIds::Create<QPushButton>(this, 1, "OK");
    auto* cancel = ControlIds::Create<QPushButton>(this, 2, "ｷｬﾝｾﾙ");
    grid->addWidget(ok, 1, 1);
    grid->addWidget(cancel, 1, 2);
    connect(ok, &QPushButton::clicked, this, &CSettingRegisterDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAccepts, {ok, cancel});
}

void CSettingRegisterDlg::SetValues(const Values& values)
{
    m_values = values;
    m_name->setText(QString::fromStdString(values.name));
}

void CSettingRegisterDlg::OnOk()
{
    const std::string name = GradationEditor::CutName(m_name->text().toStdString());
    if (name.empty()) {
        tessara::MessageBox("設定名を入力してください。", tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, this);
        return;
    }
    m_values.name = name;
    accept();
}
