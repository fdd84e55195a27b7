#pragma once

#include "viewer/buffers/HostBlocks.h"
#include "viewer/render/GlFunctions.h"

#include "outside/GroupViewData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class BufferNameQueue;
class CPCloudMng;

// The GPU copy of one point-cloud group (also of the view cloud and the CAD
// TIN, which are groups of the store too). It lives with the group object in
// the store, so inserting or removing groups never mixes up buffers; when the
// group goes, its names wait in the queue for the next display pass.
class GroupGpuData : public GroupViewData {
public:
    static constexpr int kChunkCount = 100;

    // One chunk of the TIN's vertex grid, for the vertex pick pass.
    struct VertexChunk {
        GLuint pickPositions = 0;
        GLuint pickColours = 0;
        std::int64_t count = 0;
    };

    explicit GroupGpuData(std::shared_ptr<BufferNameQueue> queue);
    ~GroupGpuData() override;
    GroupGpuData(const GroupGpuData&) = delete;
    GroupGpuData& operator=(const GroupGpuData&) = delete;

    //! The group's data, made on first use (or when the store holds another
    //! viewer's object there).
    static GroupGpuData& Of(CPCloudMng& group, const std::shared_ptr<BufferNameQueue>& queue);
    //! The group's data, or null when there is none yet.
    static GroupGpuData* Find(const CPCloudMng& group);

    //! Every buffer name this object holds.
    std::vector<GLuint*> AllNames();

    std::int32_t pointsBuilt = 0;
    std::int32_t selectionBuilt = 0;
    std::int32_t rebuildRequested = 0;

    // Point chunks: chunk c holds the points c, c + 100, c + 200, ...
    std::array<GLuint, kChunkCount> positionBuffers{};
    std::array<GLuint, kChunkCount> colourBuffers{};      // RGBA8 of the colour mode built
    std::array<GLuint, kChunkCount> pickColourBuffers{};  // RGBA8 point numbers
    std::array<std::int64_t, kChunkCount> pointCounts{};
    //! Host memory the point buffers use as their storage, when GL took it so.
    std::unique_ptr<HostBlock> pointStorage;
    std::array<GLuint, kChunkCount> selectionBuffers{};
    std::array<std::int64_t, kChunkCount> selectionCounts{};

    // TIN faces: positions, normals, pick colours, display colours.
    std::array<GLuint, 4> faceBuffers{};
    std::int64_t faceTriangles = 0;
    // TIN edges: positions, pick colours; four vertices per triangle.
    std::array<GLuint, 2> edgeBuffers{};
    std::int64_t edgeTriangles = 0;
    // Textured faces: positions, normals, texture coordinates, indices, pick colours.
    std::array<GLuint, 5> texturedBuffers{};
    std::int64_t texturedTriangles = 0;
    // TIN vertices: every corner of every triangle, and (view cloud and CAD TIN)
    // their pick colours.
    GLuint vertexDisplayBuffer = 0;
    GLuint vertexPickColourBuffer = 0;
    std::int64_t vertexDisplayCount = 0;
    std::int32_t vertexBufferPresent = 0;
    std::vector<VertexChunk> vertexChunks;

    // Ranges of the last colouring, for the legends.
    double heightRange[2] = {0.0, 0.0};
    double intensityRange[2] = {0.0, 0.0};

private:
    std::shared_ptr<BufferNameQueue> m_queue;
};
