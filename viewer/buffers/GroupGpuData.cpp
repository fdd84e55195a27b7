#include "viewer/buffers/GroupGpuData.h"

#include "viewer/buffers/BufferNameQueue.h"

#include "outside/CPCloudMng.h"

GroupGpuData::GroupGpuData(std::shared_ptr<BufferNameQueue> queue) : m_queue(std::move(queue)) {}

GroupGpuData::~GroupGpuData()
{
    if (!m_queue) return;
    for (GLuint* name : AllNames()) m_queue->Push(*name);
    m_queue->Push(std::move(pointStorage));
}

GroupGpuData& GroupGpuData::Of(CPCloudMng& group, const std::shared_ptr<BufferNameQueue>& queue)
{
    if (auto* data = dynamic_cast<GroupGpuData*>(group.m_viewData.get())) return *data;
    auto data = std::make_unique<GroupGpuData>(queue);
    GroupGpuData& ref = *data;
    group.m_viewData = std::move(data);
    return ref;
}

GroupGpuData* GroupGpuData::Find(const CPCloudMng& group)
{
    return dynamic_cast<GroupGpuData*>(group.m_viewData.get());
}

std::vector<GLuint*> GroupGpuData::AllNames()
{
    std::vector<GLuint*> names;
    for (auto* list : {&positionBuffers, &colourBuffers, &pickColourBuffers, &selectionBuffers})
        for (GLuint& n : *list) names.push_back(&n);
    for (GLuint& n : faceBuffers) names.push_back(&n);
    for (GLuint& n : edgeBuffers) names.push_back(&n);
    for (GLuint& n : texturedBuffers) names.push_back(&n);
    names.push_back(&vertexDisplayBuffer);
    names.push_back(&vertexPickColourBuffer);
    for (VertexChunk& c : vertexChunks) {
        names.push_back(&c.pickPositions);
        names.push_back(&c.pickColours);
    }
    return names;
}
