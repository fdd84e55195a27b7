#include "viewer/dialogs/CColorSettingDlg.h"

#include "platform/MessageBox.h"
#include "viewer/dialogs/CColorAddDlg.h"
#include "viewer/dialogs/CExColorListCtrl.h"
#include "viewer/dialogs/CInputEdit.h"
#include "viewer/dialogs/CSettingRegisterDlg.h"
#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/ColorRef.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogFont.h"
#include "viewer/dialogs/DialogKeys.h"
#include "viewer/dialogs/DialogRunner.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

CColorSettingDlg::CColorSettingDlg(QWidget* parent) : QDialog(parent)
{
    using C = ControlIds;
    setWindowTitle("色設定");
    DialogFont::Apply(this);
    m_combo = C::Create<QComboBox>(this, 35357);
    m_register = C::Create<QPushButton>(this, 35358, "登録");
    m_deleteSetting = C::Create<QPushButton>(this, 35359, "削除");
    m_bar = C::Create<QWidget>(this, 35367);
    m_bar->setFixedWidth(24);
    m_bar->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_list = C::Create<CExColorListCtrl>(this, 35360);
    m_addStop = C::Create<QPushButton>(this, 35361, "色調追加");
    m_deleteStop = C::Create<QPushButton>(this, 35362, "色調削除");
    auto* ok = C::Create<QPushButton>(this, 1, "OK");
    auto* cancel = C::Create<QPushButton>(this, 2, "ｷｬﾝｾﾙ");
    m_input = C::Create<CInputEdit>(m_list->viewport(), 35370);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_combo, 0, 0, 1, 2);
    grid->addWidget(m_register, 0, 2);
    grid->addWidget(m_deleteSetting, 0, 3);
    grid->addWidget(new QLabel("最大", this), 1, 0);
    grid->addWidget(m_bar, 2, 0);
    grid->addWidget(new QLabel("最小", this), 3, 0);
    grid->addWidget(m_list, 1, 1, 3, 3);
    grid->addWidget(m_addStop, 4, 2);
    grid->addWidget(m_deleteStop, 4, 3);
    grid->addWidget(ok, 5, 2);
    grid->addWidget(cancel, 5, 3);
    grid->setRowStretch(2, 1);
    resize(340, 460);

    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        m_editor.Select(index);
        Refill(-1);
    });
    connect(m_register, &QPushButton::clicked, this, &CColorSettingDlg::OnRegister);
    connect(m_deleteSetting, &QPushButton::clicked, this, &CColorSettingDlg::OnDeleteSetting);
    connect(m_addStop, &QPushButton::clicked, this, &CColorSettingDlg::OnAddStop);
    connect(m_deleteStop, &QPushButton::clicked, this, &CColorSettingDlg::OnDeleteStop);
    connect(ok, &QPushButton::clicked, this, &CColorSettingDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &CColorSettingDlg::ApplyEnabling);
    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column != 1 || m_editor.ReadOnly())
            return;
        const auto stop = m_editor.Stop(row);
        if (!stop)
            return;
        if (const auto chosen = ChooseColor(stop->color, this)) {
            m_editor.SetStopColour(row, *chosen);
            Refill(row);
        }
    });
    // The colour column answers its first click with the colour dialog; a double
    // click there is about the colour too, never the level.
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == 0)
            StartLevelEdit(row, {});
    });
    connect(m_input, &CInputEdit::Finished, this, &CColorSettingDlg::OnLevelEdited);
    DialogKeys::Install(this, DialogKeys::Rule::EnterAsTab, {ok, cancel});
    for (QWidget* child : findChildren<QWidget*>())
        if (child != m_input)
            child->installEventFilter(this);
}

void CColorSettingDlg::SetValues(const Values& values)
{
    m_values = values;
    FillCombo();
    Refill(-1);
}

void CColorSettingDlg::FillCombo()
{
    m_combo->clear();
    for (const auto& s : m_values.store.m_settings)
        m_combo->addItem(QString::fromStdString(s.name), static_cast<int>(s.id));
    m_combo->setCurrentIndex(m_values.store.m_nCurIndex < m_values.store.m_settings.size()
                                 ? m_values.store.m_nCurIndex
                                 : -1);
}

void CColorSettingDlg::Refill(int selectRow)
{
    const auto* current = m_editor.Current();
    m_list->Fill(current ? current->stops : std::vector<ColorConf>{});
    m_list->SelectRow(selectRow);
    ApplyEnabling();
    update();
}

void CColorSettingDlg::ApplyEnabling()
{
    const bool editable = !m_editor.ReadOnly();
    m_deleteSetting->setEnabled(editable);
    m_addStop->setEnabled(editable);
    m_list->setEnabled(editable);
    m_deleteStop->setEnabled(m_editor.CanDeleteStop(m_list->SelectedRow()));
}

QRect CColorSettingDlg::BarRect() const
{
    return m_bar->geometry();
}

COLORREF CColorSettingDlg::BarRowColour(int i) const
{
    const int h = BarRect().height();
    if (h <= 0)
        return 0;
    return m_editor.LevelColour((h - i) * (255.0 / h));
}

void CColorSettingDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    const QRect r = BarRect();
    if (r.height() <= 0)
        return;
    QPainter p(this);
    for (int i = 0; i < r.height(); ++i)
        p.fillRect(QRect(r.left(), r.top() + i, r.width(), 1), ColorRef::ToQColor(BarRowColour(i)));
}

bool CColorSettingDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || m_input->Editing() || m_editor.ReadOnly())
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    switch (GradationEditor::KeyStartsLevelEdit(k, key->modifiers() & Qt::KeypadModifier,
                                                key->modifiers() & Qt::AltModifier)) {
    case GradationEditor::LevelKey::Digit:
        StartLevelEdit(m_list->SelectedRow(), QString(QChar('0' + (k - Qt::Key_0))));
        return true;
    case GradationEditor::LevelKey::Level:
        StartLevelEdit(m_list->SelectedRow(), {});
        return true;
    case GradationEditor::LevelKey::Pass:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void CColorSettingDlg::StartLevelEdit(int row, const QString& digit)
{
    if (row < 0 || !m_editor.CanEditLevel(row))
        return;
    const QRect cell = m_list->visualItemRect(m_list->item(row, 0));
    const auto stop = m_editor.Stop(row);
    m_input->setFont(m_list->font());
    if (digit.isEmpty())
        m_input->Begin(row, 0, cell, QString::number(stop->level), true);
    else
        m_input->Begin(row, 0, cell, digit, false);
}

void CColorSettingDlg::OnLevelEdited(int row, int, const QString& text)
{
    const auto result = m_editor.Relevel(row, text.toStdString());
    if (result == GradationEditor::Result::Unchanged)
        return;
    Refill(row);
    m_list->setFocus();
}

void CColorSettingDlg::OnRegister()
{
    CSettingRegisterDlg::Values name;
    if (tessara::RunDialog<CSettingRegisterDlg>(this, name) != tessara::IDOK)
        return;
    if (!m_editor.Register(GradationEditor::CutName(name.name)))
        return;
    FillCombo();
    if (m_values.profile)
        m_values.store.SaveCurSetting(*m_values.profile);
    else
        m_values.store.SaveCurSetting();
    Refill(-1);
}

void CColorSettingDlg::OnDeleteSetting()
{
    if (!m_editor.DeleteCurrentSetting())
        return;
    FillCombo();
    Refill(-1);
}

void CColorSettingDlg::OnAddStop()
{
    if (m_editor.ReadOnly())
        return;
    CColorAddDlg::Values stop;
    const int selected = m_list->SelectedRow();
    if (const auto chosen = m_editor.Stop(selected))
        stop = {chosen->level, chosen->color};
    else if (m_editor.StopCount() > 0)
        stop = {0, m_editor.Stop(m_editor.StopCount() - 1)->color};
    if (tessara::RunDialog<CColorAddDlg>(this, stop) != tessara::IDOK)
        return;
    if (const auto row = m_editor.AddStop(stop.level, stop.colour)) {
        Refill(*row);
        m_list->setFocus();
    }
}

void CColorSettingDlg::OnDeleteStop()
{
    const int row = m_list->SelectedRow();
    if (row < 0 || !m_editor.DeleteStop(row))
        return;
    Refill(std::min(row, m_editor.StopCount() - 1));
    m_list->setFocus();
}

void CColorSettingDlg::OnOk()
{
    const int saved = m_values.profile ? m_values.store.SaveGradationSetting(*m_values.profile)
                                       : m_values.store.SaveGradationSetting();
    if (saved != 1) {
        tessara::MessageBox("ファイルの保存に失敗しました。", tessara::kDefaultMessageCaption, tessara::MB_ICONHAND,
                            this);
        return;
    }
    accept();
}
