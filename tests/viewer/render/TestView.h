#pragma once

#include <QOpenGLBuffer>

#include <cstdint>
#include <vector>

#include "viewer/render/CModelViewerView.h"

// The main view with its scene and menu hooks counted and the navigation state
// open for checks.
class TestView : public CModelViewerView {
public:
    using COpenGLBaseView::BeginDrag;
    using COpenGLBaseView::kDragPan;
    using COpenGLBaseView::kDragRotate;
    using COpenGLBaseView::kDragZoom;

    int sceneFrames = 0;        // RenderScene pass 1 calls
    int contextMenus = 0;
    int axisGridDraws = 0;
    int extensionLoads = 0;
    bool failExtensions = false;

    void RenderScene(std::uint8_t pass, int reserved) override
    {
        if (pass == 1) ++sceneFrames;
        CModelViewerView::RenderScene(pass, reserved);
    }
    void ShowContextMenu(QPoint) override { ++contextMenus; }
    void DrawAxisAndGrid() override
    {
        ++axisGridDraws;
        CModelViewerView::DrawAxisAndGrid();
    }
    bool LoadGLExtensions() override
    {
        ++extensionLoads;
        return failExtensions ? false : CModelViewerView::LoadGLExtensions();
    }

    float& Zoom() { return m_zoom; }
    QVector3D& LookAt() { return m_lookAt; }
    const QMatrix4x4& ModelMatrix() const { return m_modelMatrix; }
    std::uint8_t DragMode() const { return m_dragMode; }
    int BoxCancelled() const { return m_boxCancelled; }
    bool LeftPressPending() const { return m_leftPressPending; }
    int RubberBandPresent() const { return m_rubberBandPresent; }
    void SetEditPolygon(std::uint8_t editMode, int active) { m_editMode = editMode; m_editPolygonActive = active; }
    std::vector<PT>& InputModelPoints() { return m_inputModelPoints; }
    std::vector<PT>& MeasurePoints() { return m_measurePoints; }
    std::uint8_t ToolMode() const { return m_toolMode; }
    std::vector<QPoint>& RubberBand() { return m_rubberBand; }
    std::vector<QPoint>& InputScreenPoints() { return m_inputScreenPoints; }
    QVector3D& RotationCentre() { return m_rotationCentre; }
    int& CameraMoved() { return m_cameraMoved; }
    int resetDragStates = 0;
    void ResetDragState() override { ++resetDragStates; CModelViewerView::ResetDragState(); }
    void SetToolMode(std::uint8_t mode) { m_toolMode = mode; }
    int pickedListClears = 0;
    int ClearPickedList() override
    {
        ++pickedListClears;
        return CModelViewerView::ClearPickedList();
    }
    void SetClientSize(int w, int h)
    {
        m_clientWidth = w;
        m_clientHeight = h;
    }
};

// Reads the main view's private buffer state.
class ModelViewerViewTestPeer {
public:
    explicit ModelViewerViewTestPeer(CModelViewerView& view) : m_view(view) {}
    bool AxisBuilt() const { return m_view.m_axisBuilt; }
    bool GridBuilt() const { return m_view.m_gridBuilt; }
    bool PaperBuilt() const { return m_view.m_paperBuilt; }
    GLuint AxisBufferId() const { return m_view.m_axisVertices.bufferId(); }
    int BufferBytes(QOpenGLBuffer& buffer) const
    {
        if (!buffer.bind()) return -1;
        const int bytes = buffer.size();
        buffer.release();
        return bytes;
    }
    int AxisVertexBytes() { return BufferBytes(m_view.m_axisVertices); }
    int AxisColourBytes() { return BufferBytes(m_view.m_axisColours); }
    int GridBytes() { return BufferBytes(m_view.m_gridBuffer); }
    std::vector<float> BandVertices() const { return m_view.BandVertices(); }
    //! The paper rectangle's vertices (x, y, z per vertex, model coordinates); the
    //! view's context must be current.
    std::vector<float> PaperVertices()
    {
        std::vector<float> v;
        if (!m_view.m_paperBuilt || !m_view.m_paperBuffer.bind()) return v;
        v.resize(static_cast<std::size_t>(m_view.m_paperBuffer.size()) / sizeof(float));
        if (!m_view.m_paperBuffer.read(0, v.data(), m_view.m_paperBuffer.size())) v.clear();
        m_view.m_paperBuffer.release();
        return v;
    }

private:
    CModelViewerView& m_view;
};
