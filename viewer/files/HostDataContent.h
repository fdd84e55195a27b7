#pragma once

#include "outside/CElmData.h"
#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"
#include "outside/CVertexMng.h"
#include "outside/MTRX.h"
#include "outside/PT.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A host data file read completely off the store: everything in user
// coordinates, ready to be installed under the view mutex in one step. A file
// that fails half-way leaves the store untouched because nothing here belongs to
// it yet.
struct HostDataContent {
    std::int32_t flags = 0;

    // The survey transform after this file: set by the file when the view had none.
    MTRX surveyTransform;
    bool transformSet = false;
    bool transformSetByFile = false;

    std::array<PT, 4> corners;          // user coordinates once cornersValid
    bool cornersValid = false;
    PT reference;                       // (X0, Y0) through the transform
    PT surveyReference;                 // (X0, Y0) as the host gave it: survey coordinates
    double zMin = 1e-16;                // lowest elevation met, 1e-16 for none

    bool hasCad = false;
    std::string cadText;
    std::vector<CElmData> figures;

    bool hasPart = false;
    int partPointCount = 0;
    int partLineCount = 0;
    CPCloudMng partPoint3D;
    CPCloudMng partPoint2D;
    CVertexMng partVertex;
    CVertexMng partLineVertex3D;
    CVertexMng partLineVertex2D;
    std::vector<CModelDataMng::PartLine> partLine3D;
    std::vector<CModelDataMng::PartLine> partLine2D;

    bool hasViewCloud = false;
    CPCloudMng viewCloud;

    bool hasGroup = false;
    std::string groupName;
    std::unique_ptr<CPCloudMng> group;  // null when the group section held no points
    PT groupCentre;                     // rendering centre given by the group

    // 1 when at least one section added data.
    bool AddsData() const;
};
