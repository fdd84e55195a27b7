#include "viewer/dialogs/VurOutRemoveDlg.h"

#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/render/ViewSettings.h"

VurOutRemoveDlg::Values VurOutRemoveDlg::Values::FromSettings(const ViewSettings& settings)
{
    return {settings.neighbourCount, settings.standardDeviation};
}

void VurOutRemoveDlg::Values::ToSettings(ViewSettings& settings) const
{
    settings.neighbourCount = neighbourCount;
    settings.standardDeviation = standardDeviation;
}

VurOutRemoveDlg::VurOutRemoveDlg(QWidget* parent)
    : FilterDlgBase(parent, "フィルター（外れ値）", "隣接個数及び標準偏差を指定してフィルタリングを行います", 20004)
{
    m_count = AddIntField(22001, 22004, "隣接個数：", "", "判定範囲：小（狭い）大（広い）");
    m_deviation = AddDoubleField(22002, 22005, "標準偏差：", "", "間引率：小（多い）大（少ない）");
    FinishLayout();
}

void VurOutRemoveDlg::SetValues(const Values& values)
{
    m_values = values;
    m_count->SetValue(values.neighbourCount);
    m_deviation->SetValue(values.standardDeviation);
}

void VurOutRemoveDlg::ResetDefaults()
{
    SetValues(Values{});
}

void VurOutRemoveDlg::Store()
{
    m_values = {m_count->Value(), m_deviation->Value()};
}
