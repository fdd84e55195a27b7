// The main view's extents, intensity range and scale caption.
#include "viewer/render/CModelViewerView.h"

#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/SceneExtents.h"

#include "outside/CModelDataMng.h"
#include "outside/COGLJText.h"
#include "outside/MTRX.h"

namespace {

constexpr int kCaptionKinds = SceneExtents::kCloudGroups;
const char* const kCaptionFont = "ＭＳ ゴシック";
constexpr int kCaptionFontSize = 14;

}  // namespace

int CModelViewerView::GetVisibleExtent(int kinds, int allFlag, PT& min, PT& max)
{
    const SceneExtents::Toggles toggles{m_pointColourMode, m_settings.tinPictureMode, m_settings.tinEdgeSwitch,
                                        m_settings.tinPointSwitch};
    return SceneExtents::GetVisibleExtent(*m_modelStore, toggles, kinds, allFlag, min, max);
}

int CModelViewerView::GetVisibleIntensityRange(double& min, double& max)
{
    return SceneExtents::GetVisibleIntensityRange(*m_modelStore, min, max);
}

void CModelViewerView::InvalidateScaleCaption()
{
    if (!m_buffers) return;
    m_buffers->captionRecompute = 1;
    m_buffers->captionValid = 0;
}

void CModelViewerView::DrawScaleCaption()
{
    if (!m_buffers || m_settings.sizeCaption == 0 || Gl() == nullptr) return;
    ViewBuffersState& st = *m_buffers;
    if (st.captionRecompute != 0) {
        st.captionRecompute = 0;
        if (GetVisibleExtent(kCaptionKinds, 1, st.captionMin, st.captionMax) == 0) return;
        st.captionValid = 1;
    }
    if (st.captionValid == 0) return;

    const double x0 = st.captionMin.x(), x1 = st.captionMax.x();
    const double y0 = st.captionMin.y(), y1 = st.captionMax.y();
    const double z0 = st.captionMin.z(), z1 = st.captionMax.z();
    PT corners[8] = {PT(x0, y0, z0), PT(x1, y0, z0), PT(x1, y1, z0), PT(x0, y1, z0),
                     PT(x0, y0, z1), PT(x1, y0, z1), PT(x1, y1, z1), PT(x0, y1, z1)};
    PT anchors[3] = {PT((x1 - x0) * 0.5 + x0, y1, z1), PT(x0, (y1 - y0) * 0.5 + y0, z1),
                     PT(x0, y0, (z1 - z0) * 0.5 + z0)};
    for (PT& p : corners) m_modelStore->UserToModel(p);
    for (PT& p : anchors) m_modelStore->UserToModel(p);

    GlFunctions& gl = *Gl();
    gl.glDepthFunc(GL_ALWAYS);
    gl.glColor3f(0.4f, 0.4f, 0.45f);
    gl.glLineWidth(1.0f);
    for (int ring = 0; ring < 2; ++ring) {
        gl.glBegin(GL_LINE_LOOP);
        for (int k = 0; k < 4; ++k) gl.glVertex3d(corners[ring * 4 + k].x(), corners[ring * 4 + k].y(), corners[ring * 4 + k].z());
        gl.glEnd();
    }
    gl.glBegin(GL_LINES);
    for (int k = 0; k < 4; ++k) {
        gl.glVertex3d(corners[k].x(), corners[k].y(), corners[k].z());
        gl.glVertex3d(corners[k + 4].x(), corners[k + 4].y(), corners[k + 4].z());
    }
    gl.glEnd();

    const float grey = m_settings.background == 0 || m_settings.background == 1 ? 0.8f : 0.2f;
    gl.glColor3f(grey, grey, grey);
    // Widths and depths are told in the host's units, through the inverse of its transform.
    const MTRX toHost = m_files ? ~m_files->scene.frame.surveyTransform : MTRX();
    const double lengths[3] = {toHost.D(x1 - x0), toHost.D(y1 - y0), z1 - z0};
    COGLJText text(kCaptionFont, kCaptionFontSize, COGLJText::kOriginCentre);
    for (int i = 0; i < 3; ++i) {
        gl.glRasterPos3f(static_cast<float>(anchors[i].x()), static_cast<float>(anchors[i].y()),
                         static_cast<float>(anchors[i].z()));
        text.Format("%s", SceneExtents::CaptionText(lengths[i]).c_str());
        text.Render();
    }
}
