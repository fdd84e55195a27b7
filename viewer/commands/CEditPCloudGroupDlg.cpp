#include "viewer/commands/CEditPCloudGroupDlg.h"

#include "platform/Cp932.h"
#include "platform/MessageBox.h"
#include "viewer/dialogs/Cp932Validator.h"
#include "viewer/commands/GroupRegistration.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/ColorDialogService.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


CEditPCloudGroupDlg::CEditPCloudGroupDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("35200");
    setWindowTitle(QStringLiteral("点群グループ化"));
    m_newRadio = new QRadioButton(QStringLiteral("新規"), this);
    m_newRadio->setObjectName("35201");
    m_existingRadio = new QRadioButton(QStringLiteral("既存"), this);
    m_existingRadio->setObjectName("35202");
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName("35204");
    m_nameEdit->setValidator(new Cp932Validator(m_nameEdit));
    m_list = new QListWidget(this);
    m_list->setObjectName("35203");
    m_memoEdit = new QLineEdit(this);
    m_memoEdit->setObjectName("35383");
    m_memoEdit->setValidator(new Cp932Validator(m_memoEdit));
    m_colourButton = new CColorButton(this);
    m_colourButton->setObjectName("35384");
    m_colourButton->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(m_newRadio, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("新規グループ名："), this), 0, 1);
    grid->addWidget(m_nameEdit, 0, 2);
    grid->addWidget(m_existingRadio, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("既存グループ一覧："), this), 1, 1);
    grid->addWidget(m_list, 2, 1, 1, 2);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("備考："), m_memoEdit);
    form->addRow(QStringLiteral("色："), m_colourButton);
    auto* buttons = new QDialogButtonBox(this);
    m_okButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_okButton->setObjectName("1");
    QPushButton* cancel = buttons->addButton(QStringLiteral("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("2");
    cancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CEditPCloudGroupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEditPCloudGroupDlg::reject);
    connect(m_newRadio, &QRadioButton::clicked, this, &CEditPCloudGroupDlg::UpdateModeControls);
    connect(m_existingRadio, &QRadioButton::clicked, this, &CEditPCloudGroupDlg::UpdateModeControls);
    connect(m_list, &QListWidget::currentRowChanged, this, &CEditPCloudGroupDlg::OnSelChangeGroupList);
    connect(m_colourButton, &QPushButton::clicked, this, &CEditPCloudGroupDlg::OnColorButton);
}

void CEditPCloudGroupDlg::SetValues(const Values& values)
{
    m_values = values;
    m_colour = values.newGroupColour;
    m_newColour = values.newGroupColour;
    m_lastIndex = -1;
    const bool existingPossible = values.listed.size() >= 2;
    m_existingRadio->setEnabled(existingPossible);
    const bool startNew = !existingPossible || values.preferNewGroup == 1;
    m_newRadio->setChecked(startNew);
    m_existingRadio->setChecked(!startNew);
    m_list->clear();
    int widest = 0;
    const QFontMetrics metrics(m_list->font());
    for (const ListedGroup& g : values.listed) {
        const QString text = QString::fromStdString(g.displayName);
        m_list->addItem(text);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    if (existingPossible)
        m_list->setMinimumWidth(std::min(widest + 5 + 2 * m_list->frameWidth(), 600));
    UpdateModeControls();
}

void CEditPCloudGroupDlg::UpdateModeControls()
{
    if (m_list->currentRow() >= 0)
        m_lastIndex = m_list->currentRow();
    if (m_newRadio->isChecked()) {
        m_nameEdit->setEnabled(true);
        m_list->setEnabled(false);
        m_nameEdit->setFocus();
        m_list->blockSignals(true);
        m_list->setCurrentRow(-1);
        m_list->blockSignals(false);
        m_memoEdit->clear();
        m_colour = m_newColour;
    } else {
        m_nameEdit->setEnabled(false);
        m_list->setEnabled(true);
        m_list->setFocus();
        m_list->setCurrentRow(m_lastIndex);
        OnSelChangeGroupList();
    }
    m_colourButton->SetColor(m_colour);
    UpdateOkButton();
}

void CEditPCloudGroupDlg::OnSelChangeGroupList()
{
    const int row = m_list->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < m_values.listed.size()) {
        m_colour = m_values.listed[static_cast<std::size_t>(row)].colour;
        m_memoEdit->setText(QString::fromStdString(m_values.listed[static_cast<std::size_t>(row)].memo));
        m_colourButton->SetColor(m_colour);
    }
    UpdateOkButton();
}

void CEditPCloudGroupDlg::OnColorButton()
{
    if (const auto chosen = ChooseColor(m_colour, this)) {
        m_colour = *chosen;
        if (m_newRadio->isChecked())
            m_newColour = *chosen;
        m_colourButton->SetColor(m_colour);
    }
}

void CEditPCloudGroupDlg::UpdateOkButton()
{
    // An existing group must be chosen before OK can place the points.
    m_okButton->setEnabled(m_newRadio->isChecked() || m_list->currentRow() >= 0);
}

void CEditPCloudGroupDlg::accept()
{
    if (m_newRadio->isChecked()) {
        const std::string name = grouping::CutAndTrim(m_nameEdit->text().toStdString(), grouping::kNameBytes);
        const std::string problem = grouping::NewNameProblem(name, m_values.allDisplayNames);
        if (!problem.empty()) {
            tessara::MessageBox(problem, tessara::kDefaultMessageCaption, tessara::MB_ICONHAND, this);
            m_nameEdit->setFocus();
            return;
        }
        m_values.newGroup = 1;
        m_values.name = name;
        m_values.listIndex = -1;
    } else {
        if (m_list->currentRow() < 0)
            return;
        m_values.newGroup = 0;
        m_values.listIndex = m_list->currentRow();
    }
    m_values.memo = grouping::CutAndTrim(m_memoEdit->text().toStdString(), grouping::kMemoBytes);
    m_values.colour = m_colour;
    QDialog::accept();
}
