#include "viewer/dialogs/VurRadiusDlg.h"

#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/render/ViewSettings.h"

VurRadiusDlg::Values VurRadiusDlg::Values::FromSettings(const ViewSettings& settings)
{
    return {settings.radiusM, settings.minimumPoints};
}

void VurRadiusDlg::Values::ToSettings(ViewSettings& settings) const
{
    settings.radiusM = radiusM;
    settings.minimumPoints = minimumPoints;
}

VurRadiusDlg::VurRadiusDlg(QWidget* parent)
    : FilterDlgBase(parent, "フィルター（隣接要素）", "隣接判定範囲及び個数を指定してフィルタリングを行います", 20005)
{
    m_radius = AddDoubleField(22001, 22004, "範囲：", "m", "間引率：小（多い）大（少ない）");
    m_count = AddIntField(22002, 22005, "個数：", "以上", "間引率：小（少ない）大（多い）");
    FinishLayout();
}

void VurRadiusDlg::SetValues(const Values& values)
{
    m_values = values;
    m_radius->SetValue(values.radiusM);
    m_count->SetValue(values.minimumPoints);
}

void VurRadiusDlg::ResetDefaults()
{
    SetValues(Values{});
}

void VurRadiusDlg::Store()
{
    m_values = {m_radius->Value(), m_count->Value()};
}
