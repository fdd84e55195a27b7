#pragma once

#include "outside/OutsideTypes.h"
#include "viewer/dialogs/ReductionModes.h"

#include <string>

struct ViewSettings;

// What the view settings dialog shows of the settings record, and how it writes
// them back. Indexes with no item of their list show the designed default's
// item, so OK never stores an index the drawing code cannot use.
struct ViewSettingsForm {
    static constexpr int kPointSizes = 5;
    static constexpr int kDisplayTypes = 12;
    static constexpr int kLineWidths = 5;
    static constexpr int kProjections = 4;
    static constexpr int kMaterials = 25;

    int pointSize = 0;
    int displayType = 0;
    COLORREF pointColour = 0;
    int brightness = 0;
    int cadLineWidth = 0;
    int partLineWidth = 0;
    int projection = 0;
    int background = 0;       // 0 black, 1 blue, 2 white
    bool gradient = false;
    bool hideNearPoints = false;
    bool hideWithoutZ = false;
    int material = 0;
    bool paleSlope = false;
    int mouseType = 1;        // 0 type A, 1 type B
    int reduceItem = 0;
    bool considerBreakLines = false;
    bool removeTriangles = false;
    double maxEdgeM = 100.0;
    bool splitBreakLines = false;
    double splitPitchM = 0.5;
    bool flatBreakLines = false;
    double flatRangeM = 35.0;
    bool materialToBackground = false;
    bool hostCad = false;
    bool hostPart = false;
    int pickMode = 0;
    int tinPointLimit = 50;
    int alignment = 1;        // 1 left half, 0 right half, -1 neither checked

    //! The form of a record; a point size over 4 is normalised in the record first.
    static ViewSettingsForm Load(ViewSettings& settings, const ReductionModes& modes);
    //! OK and "更新": every setting the dialog carries, hidden ones included.
    void WriteBack(ViewSettings& settings, const ReductionModes& modes) const;
    //! "初期値": the designed defaults, keeping the display switches, the overlay
    //! toggles and the gradation store; the TIN options take their reset values.
    static void ResetToDefaults(ViewSettings& settings);
    //! "+25", "0", "-30".
    static std::string BrightnessLabel(int value);
    //! The shown item of a stored index: the index when the list has it, else the default.
    static int ItemOrDefault(int value, int count, int defaultItem);
};
