#pragma once

#include "viewer/buffers/HostBlocks.h"
#include "viewer/render/GlFunctions.h"

#include "outside/CModelDataMng.h"

#include <array>
#include <cstdint>

// The view's buffers of the CAD figures, the part drawing, the host's overlay
// and the 3D structures. Every count is the one of the build: a store changed
// since then draws what its buffers hold, never past their end.
struct FigureBuffers {
    // One CAD layer: points first, then line pairs, in one position and colour buffer.
    struct CadSlot {
        GLuint positions = 0;
        GLuint colours = 0;
        std::int32_t pointVertices = 0;
        std::int32_t lineVertices = 0;
        std::int32_t built = 0;
    };
    // One part set: its segments' vertex pairs, then its points.
    struct PartSet {
        GLuint positions = 0;
        GLuint colours = 0;
        GLuint picks = 0;
        std::int64_t segments = 0;
        std::int64_t points = 0;
    };
    struct HostOverlay {
        GLuint positions = 0;
        GLuint colours = 0;
        std::int32_t pointVertices = 0;
        std::int32_t lineVertices = 0;
    };
    // Faces of one structure slot (both of its stores).
    struct StructureFaces {
        GLuint positions = 0;
        GLuint normals = 0;
        GLuint colours = 0;  // only in the picture modes that colour faces
        std::int64_t triangles = 0;
    };

    std::array<CadSlot, CModelDataMng::kCadLayerCount> cad{};
    std::array<PartSet, 2> part{};
    HostOverlay host{};
    std::array<StructureFaces, CModelDataMng::kStructureSlotCount> structureFaces{};
    std::array<GLuint, CModelDataMng::kStructureStoreCount> structureEdges{};
    std::array<std::int64_t, CModelDataMng::kStructureStoreCount> structureEdgeTriangles{};
    std::array<GLuint, CModelDataMng::kStructureStoreCount> structureVertices{};
    std::array<std::int64_t, CModelDataMng::kStructureStoreCount> structureVertexTriangles{};
    //! Host memory GL draws some of these buffers from (the part layer's and the
    //! structures'), by buffer name.
    BufferStorage storage;
};
