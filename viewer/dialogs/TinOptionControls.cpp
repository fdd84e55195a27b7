#include "viewer/dialogs/TinOptionControls.h"

#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/TinOptionEnabling.h"

#include <QCheckBox>
#include <QComboBox>

TinOptionControls::TinOptionControls(QWidget* parent)
    : QObject(parent), reduce(ControlIds::Create<QComboBox>(parent, 32914)),
      consider(ControlIds::Create<QCheckBox>(parent, 32915, "ブレークラインを考慮する")),
      remove(ControlIds::Create<QCheckBox>(parent, 32916, "TIN（三角形）を除去する")),
      split(ControlIds::Create<QCheckBox>(parent, 32956, "ブレークラインを分割する")),
      flat(ControlIds::Create<QCheckBox>(parent, 32958, "同色で平行なブレークライン間をフラットにする")),
      maxEdge(ControlIds::Create<CNumericDoubleEdit>(parent, 32917)),
      pitch(ControlIds::Create<CNumericDoubleEdit>(parent, 32957)),
      flatRange(ControlIds::Create<CNumericDoubleEdit>(parent, 32959)), m_modes(ReductionModes::FromGenerator())
{
    for (const auto& text : m_modes.texts)
        reduce->addItem(QString::fromStdString(text));
    for (QCheckBox* box : {consider, remove, split, flat})
        connect(box, &QCheckBox::clicked, this, &TinOptionControls::ApplyEnabling);
}

void TinOptionControls::Load(const State& s)
{
    reduce->setCurrentIndex(m_modes.ItemOf(s.tinOption.m_nPolyRdcsplMode));
    consider->setChecked(s.tinOption.m_nConsiderBreakLineSw != 0);
    remove->setChecked(s.tinOption.m_nRemoveExcessiveTriangleSw != 0);
    split->setChecked(s.splitBreakLines != 0);
    flat->setChecked(s.flattenParallelBreakLines != 0);
    m_maxEdgeM = s.tinOption.m_dExcessiveTriangleLength;
    m_pitchM = s.splitPitchM;
    m_flatRangeM = s.parallelDistanceM;
    maxEdge->Bind(&m_maxEdgeM, 0.0001, 1000.0, 4);
    pitch->Bind(&m_pitchM, 0.05, 99.99, 2);
    flatRange->Bind(&m_flatRangeM, 0.1, 99.99, 2);
    ApplyEnabling();
}

TinOptionControls::State TinOptionControls::Store() const
{
    State s;
    s.tinOption.m_nPolyRdcsplMode = m_modes.LevelOf(reduce->currentIndex());
    s.tinOption.m_nConsiderBreakLineSw = consider->isChecked() ? 1 : 0;
    s.tinOption.m_nRemoveExcessiveTriangleSw = remove->isChecked() ? 1 : 0;
    s.tinOption.m_dExcessiveTriangleLength = m_maxEdgeM;
    s.splitBreakLines = split->isChecked() ? 1 : 0;
    s.splitPitchM = m_pitchM;
    s.flattenParallelBreakLines = flat->isChecked() ? 1 : 0;
    s.parallelDistanceM = m_flatRangeM;
    return s;
}

void TinOptionControls::ApplyEnabling()
{
    const auto e = TinOptionEnabling::Of(consider->isChecked(), remove->isChecked(), split->isChecked(),
                                         flat->isChecked());
    split->setEnabled(e.split);
    flat->setEnabled(e.flat);
    maxEdge->setEnabled(e.maxEdge);
    pitch->setEnabled(e.splitPitch);
    flatRange->setEnabled(e.flatRange);
}
