// The TIN edit modes, the cursor of each tool mode, the edit prompt, the
// information box and the commands that are not there yet.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/Measurement.h"
#include "viewer/commands/SceneInfo.h"
#include "viewer/commands/StyleRules.h"
#include "viewer/commands/TinEdit.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/GlFunctions.h"
#include "viewer/render/ViewConstants.h"

#include <QBitmap>
#include <QCursor>
#include <QPainter>
#include <QPixmap>

#include <map>
#include <optional>
#include <mutex>

namespace {

constexpr unsigned kToolInfo = 32799;
constexpr unsigned kNotImplemented1 = 32815;
constexpr unsigned kNotImplemented2 = 32816;

// The tool cursors: a cross with the mark of the tool in its lower right.
QCursor DrawToolCursor(int resource)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setPen(QPen(Qt::white, 3));
        painter.drawLine(0, 8, 16, 8);
        painter.drawLine(8, 0, 8, 16);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(0, 8, 16, 8);
        painter.drawLine(8, 0, 8, 16);
        painter.setBrush(Qt::NoBrush);
        switch (resource) {
        case 23000:  // CAD edit: a square
            painter.drawRect(18, 18, 10, 10);
            break;
        case 23001:  // TIN vertex: a dot
            painter.setBrush(Qt::black);
            painter.drawEllipse(19, 19, 8, 8);
            break;
        case 23002:  // TIN edge: a diagonal
            painter.drawLine(18, 28, 28, 18);
            break;
        case 23003:  // TIN face: a triangle
            painter.drawPolygon(QPolygon({QPoint(18, 28), QPoint(28, 28), QPoint(23, 18)}));
            break;
        case 23004:  // point edit: a circle
            painter.drawEllipse(18, 18, 10, 10);
            break;
        default:     // measuring and lines: a small cross
            painter.drawLine(18, 23, 28, 23);
            painter.drawLine(23, 18, 23, 28);
            break;
        }
    }
    return QCursor(pixmap, 8, 8);
}

} // namespace

void CModelViewerView::RegisterTinOptionCommands(CommandMap& map)
{
    map.On(cmd::kTinFaceDelete, [this] { OnTinDeleteFace(); });
    map.On(cmd::kTinVertexRemove, [this] { OnTinEditVertex(); });
    map.On(cmd::kTinEdgeSwap, [this] { OnTinSwapEdge(); });
    map.On(kToolInfo, [this] { OnToolInfo(); });
    map.On(cmd::kGroupView, [this] { OnToolGroupView(); });
    map.On(kNotImplemented1, [this] { OnNotImplemented(); });
    map.On(kNotImplemented2, [this] { OnNotImplemented(); });
}

void CModelViewerView::ToggleTinEditMode(std::uint8_t mode)
{
    if (m_toolMode == mode) {
        m_toolMode = toolmode::kNone;
        if (mode == toolmode::kTinEdgeSwap)
            SetMainFrameStatusText("");
        else
            ShowEditPrompt();
        OnSetCursor();
        return;
    }
    m_toolMode = mode;
    const char* prompt = "";
    switch (mode) {
    case toolmode::kTinFaceDelete:
        if (m_settings.tinPictureMode == 0)
            m_settings.tinPictureMode = 1;
        prompt = "削除するTINの面をピックして下さい。";
        break;
    case toolmode::kTinVertexEdit:
        m_settings.tinEdgeSwitch = 1;
        m_settings.tinPointSwitch = 1;
        prompt = "編集するTINの端点をクリックして下さい。";
        break;
    default:
        m_settings.tinEdgeSwitch = 1;
        prompt = "構成を変更するTINの線をピックして下さい。";
        break;
    }
    SetMainFrameStatusText(prompt);
    ResetDragState();
    ClearPickBuckets();
    ClearSelection();
    OnSetCursor();
    InvalidateScene();
}

void CModelViewerView::OnTinDeleteFace() { ToggleTinEditMode(toolmode::kTinFaceDelete); }
void CModelViewerView::OnTinEditVertex() { ToggleTinEditMode(toolmode::kTinVertexEdit); }
void CModelViewerView::OnTinSwapEdge() { ToggleTinEditMode(toolmode::kTinEdgeSwap); }

void CModelViewerView::ShowEditPrompt()
{
    SetMainFrameStatusText("点群の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）");
}

void CModelViewerView::OnSetCursor()
{
    const int resource = style::CursorResourceForMode(m_toolMode);
    if (resource == 0) {
        unsetCursor();
        return;
    }
    static std::map<int, QCursor> cursors;  // UI thread only
    auto found = cursors.find(resource);
    if (found == cursors.end())
        found = cursors.emplace(resource, DrawToolCursor(resource)).first;
    setCursor(found->second);
}

void CModelViewerView::OnToolInfo()
{
    SceneInfoText info;
    if (GlFunctions* gl = Gl()) {
        makeCurrent();
        const auto text = [gl](GLenum name) {
            const GLubyte* value = gl->glGetString(name);
            return value != nullptr ? std::string(reinterpret_cast<const char*>(value)) : std::string();
        };
        info.vendor = text(GL_VENDOR);
        info.renderer = text(GL_RENDERER);
        info.version = text(GL_VERSION);
        doneCurrent();
    }
    PT min, max;
    bool extent = false;
    std::optional<PT> lowerLeft;
    const bool read = ReadStore<bool>(
        [&](CModelDataMng& store) {
            info.counts = CountSceneInfo(store);
            extent = GetModelExtent(min, max) != 0;
            // The host's reference point when a host file gave one, else the
            // extent's lower-left corner taken back into survey coordinates, as
            // the coordinate readout shows a point.
            const ViewFilesState& files = FilesState();
            const SceneFrame& frame = files.scene.frame;
            if (files.hostReferenceSet && frame.transformSet != 0 && frame.surveyTransform == files.hostReferenceTransform)
                lowerLeft = files.hostReference;
            else if (extent)
                lowerLeft = Measurement(frame.surveyTransform).Coordinates(min);
            return true;
        },
        false);
    if (!read) {
        tessara::MessageBox(filetexts::kBusy, tessara::kDefaultMessageCaption, tessara::MB_ICONWARNING, this);
        return;
    }
    if (extent) {
        info.minZ = min.z();
        info.maxZ = max.z();
    }
    if (lowerLeft) {
        info.lowerLeftX = lowerLeft->x();
        info.lowerLeftY = lowerLeft->y();
    }
    tessara::MessageBox(FormatSceneInfo(info), tessara::kDefaultMessageCaption, tessara::MB_ICONINFORMATION, this);
}

void CModelViewerView::OnToolGroupView()
{
    if (FrameLink* frame = FrameLink::Main())
        frame->SetGroupPaneVisible(!frame->GroupPaneVisible());
}

void CModelViewerView::OnNotImplemented()
{
    tessara::MessageBox("【未実装】\nこの機能はリリース版までに実装予定です", tessara::kDefaultMessageCaption,
                        tessara::MB_ICONWARNING, this);
}

