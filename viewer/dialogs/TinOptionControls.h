#pragma once

#include "outside/XTinOption.h"
#include "viewer/dialogs/ReductionModes.h"

#include <QObject>

class CNumericDoubleEdit;
class QCheckBox;
class QComboBox;
class QWidget;

// The TIN generation options as controls: the reduction combo (32914), the
// switches 32915, 32916, 32956, 32958, the distance edits 32917, 32957, 32959
// bound to their own copies, and the enabling rule between them. The TIN dialog
// lays them out; the settings dialog carries them hidden.
class TinOptionControls : public QObject {
    Q_OBJECT
public:
    struct State {
        XTinOption tinOption;
        int splitBreakLines = 1;
        double splitPitchM = 0.5;
        int flattenParallelBreakLines = 0;
        double parallelDistanceM = 35.0;
    };

    explicit TinOptionControls(QWidget* parent);
    void Load(const State& state);
    State Store() const;
    void ApplyEnabling();

    QComboBox* reduce;
    QCheckBox* consider;
    QCheckBox* remove;
    QCheckBox* split;
    QCheckBox* flat;
    CNumericDoubleEdit* maxEdge;
    CNumericDoubleEdit* pitch;
    CNumericDoubleEdit* flatRange;

private:
    ReductionModes m_modes;
    double m_maxEdgeM = 100.0;
    double m_pitchM = 0.5;
    double m_flatRangeM = 35.0;
};
