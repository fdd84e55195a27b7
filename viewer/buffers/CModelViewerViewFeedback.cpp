// The tool feedback: the rubber bands and the hovered item, drawn by the base
// view in XOR over the cached composite (there is no front buffer to erase
// from: every update starts from the clean cached picture, so only the current
// outline is drawn, never the previous one again).
#include "viewer/render/CModelViewerView.h"

#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewOverlayGl.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/render/ToolFeedbackRules.h"
#include "viewer/render/ViewConstants.h"

#include "outside/CModelDataMng.h"

#include <cmath>

namespace {

constexpr GLushort kBandStipple = 0xF0F0;
constexpr float kHoverPointSize = 10.0f;
constexpr float kHoverEdgeWidth = 3.0f;

// Window pixels as the drawing space: x right, y up, one unit a pixel.
class WindowSpace {
public:
    WindowSpace(GlFunctions& gl, int w, int h) : m_gl(gl)
    {
        gl.glMatrixMode(GL_PROJECTION);
        gl.glPushMatrix();
        gl.glLoadIdentity();
        gl.glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
        gl.glMatrixMode(GL_MODELVIEW);
        gl.glPushMatrix();
        gl.glLoadIdentity();
    }
    ~WindowSpace()
    {
        m_gl.glMatrixMode(GL_PROJECTION);
        m_gl.glPopMatrix();
        m_gl.glMatrixMode(GL_MODELVIEW);
        m_gl.glPopMatrix();
    }
    WindowSpace(const WindowSpace&) = delete;
    WindowSpace& operator=(const WindowSpace&) = delete;

private:
    GlFunctions& m_gl;
};

}  // namespace

void CModelViewerView::DrawToolFeedback(int flag)
{
    if (!m_buffers || Gl() == nullptr || m_toolMode == toolmode::kTinEdgeSwap) {
        if (m_buffers && Gl() != nullptr) DrawHoverHighlight(flag);
        return;
    }
    switch (ToolFeedbackRules::Choose(FeedbackInput()).kind) {
    case ToolFeedbackRules::Kind::Rectangle: DrawRectangleBand(flag); break;
    case ToolFeedbackRules::Kind::Polygon: DrawPolygonBand(flag); break;
    case ToolFeedbackRules::Kind::Segments: DrawSegmentBand(flag); break;
    case ToolFeedbackRules::Kind::Polyline: DrawPolylineBand(flag); break;
    case ToolFeedbackRules::Kind::Section: DrawSectionBand(flag); break;
    case ToolFeedbackRules::Kind::None: break;
    }
    DrawHoverHighlight(flag);
}

namespace {

// Rebuilds (redrawOnly 0) and draws the outline of the band the rules chose.
void DrawBandOutline(GlFunctions& gl, RenderBook& book, ViewOverlayGl& o, ViewPickState& pick,
              const ToolFeedbackRules::Band& band, const std::vector<float>& vertices, int redrawOnly, int w, int h)
{
    if (redrawOnly == 0) {
        GlBufferOps::Delete(gl, o.currentOutline);
        pick.outlineCounts.clear();
        if (vertices.empty()) return;
        o.currentOutline = GlBufferOps::Upload(gl, book, GL_ARRAY_BUFFER, vertices);
        pick.outlineCounts.push_back(static_cast<int>(vertices.size() / 3));
        pick.previousOutline = vertices;
    }
    if (pick.outlineCounts.empty() || o.currentOutline == 0 || w <= 0 || h <= 0) return;
    WindowSpace space(gl, w, h);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    if (band.stipple) {
        gl.glEnable(GL_LINE_STIPPLE);
        gl.glLineStipple(1, kBandStipple);
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, o.currentOutline);
    gl.glVertexPointer(3, GL_FLOAT, 0, nullptr);
    for (const ToolFeedbackRules::Pass& p : band.passes) {
        gl.glLineWidth(p.lineWidth);
        gl.glColor3f(p.red, 0.0f, 0.0f);
        gl.glDrawArrays(band.primitive, 0, pick.outlineCounts[0]);
    }
    gl.glDisable(GL_LINE_STIPPLE);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace

ToolFeedbackRules::Input CModelViewerView::FeedbackInput() const
{
    ToolFeedbackRules::Input in;
    in.toolMode = m_toolMode;
    in.editMode = m_editMode;
    in.bandCancelled = m_boxCancelled != 0;
    in.bandPoints = m_rubberBand.size();
    // While a polygon is entered the band's last point follows the pointer: that
    // edge is only offered, and the band shows stippled until the point is entered.
    in.pointInput = !(m_editMode == 1 && m_editPolygonActive != 0 && m_rubberBand.size() > m_inputScreenPoints.size());
    in.sectionPoints = m_sectionPoints.size();
    in.pickedListEmpty = m_buffers->pick->pickedList.empty();
    return in;
}

std::vector<float> CModelViewerView::BandVertices() const
{
    std::vector<float> v;
    const auto add = [&](double x, double y) { v.insert(v.end(), {static_cast<float>(x), static_cast<float>(y), 0.0f}); };
    if (m_toolMode == toolmode::kSection) {
        if (m_sectionPoints.size() != 1) return v;
        QVector3D first;
        // Picked points are kept in model coordinates, as the scene is drawn.
        const PT& model = m_sectionPoints[0];
        if (!ProjectToWindow(QVector3D(static_cast<float>(model.x()), static_cast<float>(model.y()),
                                       static_cast<float>(model.z())),
                             first))
            return v;
        add(std::trunc(first.x()), std::trunc(first.y()));
        add(m_lastPointer.x(), m_clientHeight - m_lastPointer.y());
        return v;
    }
    for (const QPoint& p : m_rubberBand) add(p.x(), m_clientHeight - p.y());
    return v;
}

void CModelViewerView::DrawBand(int redrawOnly)
{
    const ToolFeedbackRules::Band band = ToolFeedbackRules::Choose(FeedbackInput());
    DrawBandOutline(*Gl(), m_buffers->book, *m_buffers->overlayGl, *m_buffers->pick, band,
                    redrawOnly == 0 ? BandVertices() : std::vector<float>{}, redrawOnly, m_clientWidth,
                    m_clientHeight);
}

void CModelViewerView::DrawRectangleBand(int redrawOnly) { DrawBand(redrawOnly); }
void CModelViewerView::DrawPolygonBand(int redrawOnly) { DrawBand(redrawOnly); }
void CModelViewerView::DrawSegmentBand(int redrawOnly) { DrawBand(redrawOnly); }
void CModelViewerView::DrawPolylineBand(int redrawOnly) { DrawBand(redrawOnly); }
void CModelViewerView::DrawSectionBand(int redrawOnly) { DrawBand(redrawOnly); }

void CModelViewerView::DrawHoverHighlight(int)
{
    const ViewPickState& pick = *m_buffers->pick;
    if (!pick.hoveredVertex && pick.hoveredEdges.empty()) return;
    if (m_clientWidth <= 0 || m_clientHeight <= 0) return;
    GlFunctions& gl = *Gl();
    WindowSpace space(gl, m_clientWidth, m_clientHeight);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glColor3f(0.0f, 1.0f, 0.0f);
    const double h = m_clientHeight;
    if (pick.hoveredVertex) {
        gl.glPointSize(kHoverPointSize);
        gl.glBegin(GL_POINTS);
        gl.glVertex2d(pick.hoveredVertex->x, h - pick.hoveredVertex->y);
        gl.glEnd();
    }
    if (!pick.hoveredEdges.empty()) {
        gl.glLineWidth(kHoverEdgeWidth);
        gl.glBegin(GL_LINES);
        for (const HoverPickCache::Edge& e : pick.hoveredEdges) {
            gl.glVertex2d(e.x1, h - e.y1);
            gl.glVertex2d(e.x2, h - e.y2);
        }
        gl.glEnd();
    }
}
