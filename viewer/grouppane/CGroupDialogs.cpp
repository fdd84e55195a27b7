#include "viewer/grouppane/CGroupPropDlg.h"
#include "viewer/grouppane/CGroupRenameDlg.h"

#include "platform/MessageBox.h"
#include "viewer/commands/GroupRegistration.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/Cp932Validator.h"
#include "viewer/grouppane/GroupEdits.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("1");
    QPushButton* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("2");
    cancel->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* Cp932Edit(QWidget* parent, const char* id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(id);
    edit->setValidator(new Cp932Validator(edit));
    return edit;
}

// The checked name, or false after telling the user why not (the dialog stays).
bool CheckName(QDialog* dialog, QLineEdit* edit, const std::vector<std::string>& others, std::string& name)
{
    const grouptree::NameCheck check = grouptree::CheckNameAmong(edit->text().toStdString(), others);
    if (!check.problem.empty()) {
        tessara::MessageBox(check.problem, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, dialog);
        edit->setFocus();
        return false;
    }
    name = check.name;
    return true;
}

} // namespace

CGroupRenameDlg::CGroupRenameDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("名称変更"));
    m_nameEdit = Cp932Edit(this, "35101");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("点群グループ名："), m_nameEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void CGroupRenameDlg::SetValues(const Values& values)
{
    m_values = values;
    m_nameEdit->setText(QString::fromStdString(values.name));
}

void CGroupRenameDlg::accept()
{
    if (CheckName(this, m_nameEdit, m_values.otherNames, m_values.name))
        QDialog::accept();
}

CGroupPropDlg::CGroupPropDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("点群グループプロパティ"));
    m_nameEdit = Cp932Edit(this, "35386");
    m_remarkEdit = Cp932Edit(this, "35387");
    m_colourButton = new CColorButton(this);
    m_colourButton->setObjectName("35388");
    m_colourButton->setAutoDefault(false);
    connect(m_colourButton, &QPushButton::clicked, this, &CGroupPropDlg::OnColorButton);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("グループ名："), m_nameEdit);
    form->addRow(QStringLiteral("備考："), m_remarkEdit);
    form->addRow(QStringLiteral("色："), m_colourButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void CGroupPropDlg::SetValues(const Values& values)
{
    m_values = values;
    m_colour = values.colour;
    m_nameEdit->setText(QString::fromStdString(values.name));
    m_remarkEdit->setText(QString::fromStdString(values.remark));
    m_colourButton->SetColor(m_colour);
}

void CGroupPropDlg::OnColorButton()
{
    if (const auto chosen = ChooseColor(m_colour, this)) {
        m_colour = *chosen;
        m_colourButton->SetColor(m_colour);
    }
}

void CGroupPropDlg::accept()
{
    if (!CheckName(this, m_nameEdit, m_values.otherNames, m_values.name))
        return;
    m_values.remark = grouping::CutAndTrim(m_remarkEdit->text().toStdString(), grouptree::kRemarkBytes);
    m_values.colour = m_colour;
    QDialog::accept();
}
