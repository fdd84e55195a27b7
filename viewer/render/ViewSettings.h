#pragma once

#include <array>
#include <cstdint>

#include "outside/CGradationSetting.h"
#include "outside/OutsideTypes.h"
#include "outside/XTinOption.h"

// The main view's record of user settings, persisted in the profile section
// "SectionGlView" (CModelViewerView::LoadViewSettings / SaveViewSettings). The
// settings dialogs edit it in place or assign an edited copy back; undo copies
// it away and back. The default constructor gives the designed defaults.
struct ViewSettings {
    // TIN generation options: "DrawTinOpReduceMode", "DrawTinOpConsiderBrkln",
    // "DrawTinOpRemoveExctri", "DrawTinOpExcTrilen".
    XTinOption tinOption;

    // Display switches of the ribbon (not persisted).
    int cadSwitch = 0;
    int partSwitch = 0;
    int tinEdgeSwitch = 0;
    int tinPointSwitch = 0;
    int tinPictureMode = 0;                     // 0 none, 1 single colour, 2 slope, 3 texture, 4 height

    short materialIndex = 0;                    // "FaceMsIndex", 0..24
    short gradationFlag = 2;                    // "Viewgradation", stored and restored only
    CGradationSetting gradation;                // height-colour stops (saved by the colour dialog)
    int drawHostCad = 0;                        // "Texture_Cad"
    int drawHostPart = 0;                       // "Texture_Part"
    int hostMapTexture = 1;                     // "Texture_Map"
    int paleSlopeFill = 0;                      // "LigthColor"
    int materialToBackground = 0;               // "FaceMaterial"
    int paper = 1;                              // "ViewPaper"
    int grid = 1;                               // "ViewGrid"
    int axis = 1;                               // "ViewAxis"
    int xyzMark = 1;                            // "ViewXYZ"
    int compassMark = 1;                        // "ViewDIR"
    int sizeCaption = 1;                        // "ViewSize"
    short pickMode = 0;                         // "Viewpickmode", 0..3
    short pointSizeIndex = 0;                   // "ViewPointSize", 0..4
    COLORREF pointColour = 0x000000FF;          // "ViewPointCol", RGB(255, 0, 0)
    int colourBrightness = 0;                   // "ViewColorBright", -100..100
    short projection = 0;                       // "ViewPectiveEx", 0 ortho, 1..3 perspective
    short pointDisplayType = 0;                 // "ViewCorrectionHint"
    short cadLineWidthIndex = 0;                // "ViewLnWidthCad"
    short partLineWidthIndex = 0;               // "ViewLnWidthPart"
    short depthMode = 1;                        // "ViewDepthAlways", 1 normal depth
    int hideFiguresWithoutZ = 1;                // "ViewUnsetExclusion"
    COLORREF cadEditColour = 0x00FF0000;        // "psKeyGlViewCadEditColor", RGB(0, 0, 255)
    std::array<COLORREF, 16> customColours{     // "psKeyGlViewCadEditCustomColor0".."15"
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    short deleteMode = 0;                       // "psKeyGlViewDeleteMode", 0..2
    short elevationDeleteMode = 0;              // "psKeyGlViewDeleteHightMode"
    double elevationBound1 = 0.0;               // "psKeyGlViewDeleteHightValue1"
    double elevationBound2 = 100.0;             // "psKeyGlViewDeleteHightValue2"
    short mouseType = 1;                        // "psKeyGlViewMouseDrag", 0 type A, 1 type B
    std::array<double, 3> gridCellM{0.5, 0.5, 0.5};      // "psKeyGlViewSampleVur_lx/ly/lz"
    std::array<double, 3> lowestCellM{0.5, 0.5, 0.5};    // "..._lminx/lminy/lminz"
    std::array<double, 3> highestCellM{0.5, 0.5, 0.5};   // "..._lmaxx/lmaxy/lmaxz"
    double radiusM = 0.8;                       // "psKeyGlViewSampleVur_radius"
    int minimumPoints = 2;                      // "psKeyGlViewSampleVur_min_pts"
    double standardDeviation = 1.0;             // "psKeyGlViewSampleVur_stddev"
    int neighbourCount = 50;                    // "psKeyGlViewSampleVur_nr_k"
    int windowAlignment = 1;                    // "psKeyGlViewAlignmentMode", 1 left half
    int splitBreakLines = 1;                    // "psKeySplitBreakline"
    double splitPitchM = 0.5;                   // "psKeySplitPitch"
    int flattenParallelBreakLines = 0;          // "psKeyFlatBreakline"
    double parallelDistanceM = 35.0;            // "psKeyFlatRange"
    short background = 0;                       // "psKeyBackColor", 0 black, 1 blue, other white
    int backgroundGradient = 1;                 // "psKeyDrawBackGradation"
    int tinPointLimit = 50;                     // "psDrawmaxTinMakePsize", x 10,000 points, 1..100
    int lasSplitMode = 0;                       // "psKeySaveLimitMode", 0 none, 1 size, 2 count
    int lasSizeLimitMb = 200;                   // "psKeyLimiFileSize"
    int lasCountLimit = 100;                    // "psKeyLimiPointSize", x 10,000 points
    std::uint8_t imageMode = 0;                 // "psKeySaveImgMode"
    std::uint8_t imageKind = 0;                 // "psKeySaveImgKind"
    std::uint8_t imageDotSize = 2;              // "psKeySaveImgDotSize"
    int showPlaneDistance = 1;                  // "psKeyLevelDistance"
    int showSlopeDistance = 1;                  // "psKeySlopeDistance"
    int showHeightDifference = 1;               // "psKeyHeigthDistance"
    int sectionThroughTins = 1;                 // "psKeyTargetTin"
    int sectionThroughPoints = 1;               // "psKeyTargetPoint"
    double sectionDirectionToleranceM = 0.2;    // "psKeyOfset"
    double sectionPointSpacingM = 0.3;          // "psKeyPrevDistance"
};
