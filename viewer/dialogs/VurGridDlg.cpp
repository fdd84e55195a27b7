#include "viewer/dialogs/VurGridDlg.h"

#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/FilterPicture.h"
#include "viewer/render/ViewSettings.h"

#include <QLabel>
#include <QLayout>

namespace {
template <class Settings>
auto& CellsOf(Settings& s, int kind)
{
    return kind == 1 ? s.lowestCellM : (kind == 2 ? s.highestCellM : s.gridCellM);
}
} // namespace

VurGridDlg::Values VurGridDlg::Values::FromSettings(const ViewSettings& settings, int kind)
{
    return {kind, CellsOf(settings, kind)};
}

void VurGridDlg::Values::ToSettings(ViewSettings& settings) const
{
    CellsOf(settings, kind) = cellM;
}

VurGridDlg::VurGridDlg(QWidget* parent)
    : FilterDlgBase(parent, "フィルター（グリッド）", "グリッド（格子）判定によるフィルタリングを行います", 20001)
{
    const char* labels[] = {"LX：", "LY：", "LZ："};
    for (int i = 0; i < 3; ++i) {
        m_edits[static_cast<std::size_t>(i)] = AddDoubleField(22001 + i, 22004 + i, labels[i], "m", {});
        m_arrows[static_cast<std::size_t>(i)] = ControlIds::Find<ArrowPair>(this, 22004 + i);
    }
    m_picture = ControlIds::Find<FilterPicture>(this, 625);
    layout()->addWidget(new QLabel("間引率：小（少ない）大（多い）", this));
    FinishLayout();
}

void VurGridDlg::SetValues(const Values& values)
{
    m_values = values;
    for (std::size_t i = 0; i < 3; ++i)
        m_edits[i]->SetValue(values.cellM[i]);
    const bool withZ = values.kind != 1 && values.kind != 2;
    m_edits[2]->setEnabled(withZ);
    m_arrows[2]->setEnabled(withZ);
    const int picture = values.kind == 1 ? 20002 : (values.kind == 2 ? 20003 : 20001);
    m_picture->SetPictureId(picture);
}

void VurGridDlg::ResetDefaults()
{
    for (std::size_t i = 0; i < 3; ++i) {
        m_values.cellM[i] = kDefaultCellM;
        m_edits[i]->SetValue(kDefaultCellM);
    }
}

void VurGridDlg::Store()
{
    for (std::size_t i = 0; i < 3; ++i)
        m_values.cellM[i] = m_edits[i]->Value();
}
