#pragma once

#include "outside/MTRX.h"
#include "outside/PT.h"

#include <array>
#include <cstdint>

// The coordinate frame the host's first file establishes, with the view state
// that model files carry beside it (the 340-byte frame block). Values marked as
// carried are kept byte for byte; nothing here reads them.
struct SceneFrame {
    SceneFrame() { Clear(); }
    // The values a clear of the model data leaves (the colour, the carried values
    // 4 to 10 and the point render mode stay as they are).
    void Clear();

    std::array<PT, 4> corners;          // host working area, user coordinates
    std::int32_t cornersSet = 0;
    std::int32_t transformSet = 0;
    double value1 = 0;
    double value2 = 0;
    double baseElevation = 1e-16;       // lowest z; 1e-16 = not set
    double value3 = 1e-16;
    MTRX surveyTransform;               // host survey coordinates -> user coordinates
    std::array<std::uint8_t, 4> tinBaseColour{};
    MTRX sectionTransform;
    std::array<std::int32_t, 4> values4to7{};
    std::int16_t value8 = 0;
    std::int16_t pointRenderMode = 0;   // "psKeyGlViewPointRenderMode"
    std::int32_t baseElevationMode = 0;
    std::int32_t value9 = 0;
    std::array<std::uint8_t, 24> value10{};
};

// What a model file holds of the view besides the store: the leading blocks, the
// display switches and the texture placement.
struct ModelViewState {
    std::array<float, 3> rotationCentre{};
    bool rotationCentreSet = false;
    SceneFrame frame;
    std::int32_t groupsShown = 1;
    // CAD, part, TIN edges, TIN vertices, paper, grid, axis, TIN picture mode,
    // XYZ mark, compass mark, size caption.
    std::array<std::int32_t, 11> displaySwitches{};
    // Origin x, y (model), size x, y, rotation angle.
    std::array<double, 5> texturePlacement{};

    // Loading: how many group records each group section held (-1: no section).
    int groupPointRecords = -1;
    int groupTinRecords = -1;
    // Loading: false when the file ended before the display switches.
    bool hasTexturePlacement = false;
};
