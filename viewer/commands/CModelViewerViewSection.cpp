// The cross-section tool of the main view: command 35211, its two clicks, the
// profile sheet it builds and the overlay that draws it.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "outside/TJFONT.h"
#include "platform/MessageBox.h"
#include "viewer/commands/CrossSection.h"
#include "viewer/commands/FacePick.h"
#include "viewer/commands/ToolMarkers.h"
#include "viewer/dialogs/DanmenConfDlg.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/GlFunctions.h"
#include "viewer/render/ScreenProjector.h"
#include "viewer/render/ViewConstants.h"

#include <QCoreApplication>

#include <cmath>

namespace {

constexpr unsigned kToolDanmen = 35211;
constexpr const char* kFirstPointPrompt = "計測する点群の1点目を指示して下さい。";
constexpr const char* kSecondPointPrompt = "計測する点群の2点目を指示して下さい。";

// The stroke font's line procedure: each stroke goes to the view whose sheet is
// being built.
void CollectStroke(const LN& stroke)
{
    const double line[6] = {stroke.Pt1.x(), stroke.Pt1.y(), stroke.Pt1.z(),
                            stroke.Pt2.x(), stroke.Pt2.y(), stroke.Pt2.z()};
    CModelViewerView::CollectFontStroke(line);
}

// Names the view as the strokes' collector for as long as a sheet is built.
class StrokeCollectorScope {
public:
    explicit StrokeCollectorScope(CModelViewerView& view) { CModelViewerView::SetStrokeCollectorView(&view); }
    ~StrokeCollectorScope() { CModelViewerView::SetStrokeCollectorView(nullptr); }
    StrokeCollectorScope(const StrokeCollectorScope&) = delete;
    StrokeCollectorScope& operator=(const StrokeCollectorScope&) = delete;
};

// The sheet's labels in the stroke font of the program's "Font" folder (the
// system's Japanese face when the folder holds none).
class ViewLabelFont : public SectionLabelFont {
public:
    ViewLabelFont(CModelViewerView& view, const std::string& folder) : m_view(view), m_font(folder)
    {
        m_font.SetLineProc(&CollectStroke);
        m_font.SetSize(CrossSection::kLabelSize);
    }
    int Write(const std::string& text, std::vector<LN>& strokes) override
    {
        m_view.FontStrokes().clear();
        // Every label starts at the origin: the font moves its position on.
        m_font.SetPos(0.0, 0.0);
        const int characters = m_font.String(text);
        for (const auto& s : m_view.FontStrokes())
            strokes.emplace_back(PT(s[0], s[1], s[2]), PT(s[3], s[4], s[5]));
        m_view.FontStrokes().clear();
        return characters;
    }

private:
    CModelViewerView& m_view;
    TJFONT m_font;
};

// The font folder beside the program; empty when the program's folder is unknown.
std::string FontFolder()
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty())
        return {};
    return (folder + "/Font").toStdString();
}

}  // namespace

void CModelViewerView::RegisterSectionCommands(CommandMap& map)
{
    map.On(kToolDanmen, [this] { OnToolDanmen(); });
}

DanmenConfDlg* CModelViewerView::SectionDialog() const
{
    return static_cast<DanmenConfDlg*>(m_sectionDialog.data());
}

void CModelViewerView::CloseSectionDialog()
{
    delete m_sectionDialog.data();
    m_sectionDialog = nullptr;
}

void CModelViewerView::OnToolDanmen()
{
    const auto emptyLists = [this] {
        m_measurePoints.clear();
        m_sectionPoints.clear();
        m_distanceToolActive = 0;
        m_readoutToolActive = 0;
        m_sectionToolActive = 0;
        m_sectionSheet.reset();
    };
    if (m_toolMode == toolmode::kSection) {
        CloseSectionDialog();
        m_toolMode = toolmode::kNone;
        ShowEditPrompt();
        emptyLists();
        ClearPickBuckets();
        CloseSectionToolTips();
    } else {
        CloseSectionDialog();
        auto* dialog = new DanmenConfDlg(&m_settings, this, [this] { DrawCrossSection(m_sectionPoints.size()); });
        m_sectionDialog = dialog;
        dialog->show();
        m_toolMode = toolmode::kSection;
        SetMainFrameStatusText(kFirstPointPrompt);
        emptyLists();
        ResetDragState();
        ClearPickBuckets();
        ClearSelection();
    }
    OnSetCursor();
    InvalidateScene();
}

void CModelViewerView::DrawSectionFirstPoint()
{
    if (m_toolMode != toolmode::kSection || m_sectionPoints.size() != 1)
        return;
    if (LastStatusText() != kSecondPointPrompt)
        SetMainFrameStatusText(kSecondPointPrompt);
    if (GlFunctions* gl = Gl())
        DrawToolMarkers(*gl, m_sectionPoints, 1.0f, 0.0f, 0.0f);
}

void CModelViewerView::DrawCrossSection(std::size_t)
{
    if (m_toolMode != toolmode::kSection || m_sectionPoints.size() < 2)
        return;
    const SectionSettings settings{m_settings.sectionThroughTins != 0, m_settings.sectionThroughPoints != 0,
                                   m_settings.sectionDirectionToleranceM, m_settings.sectionPointSpacingM};
    const std::string folder = FontFolder();
    std::optional<ViewLabelFont> font;
    if (!folder.empty())
        font.emplace(*this, folder);

    enum class Outcome { Built, SamePlace, Busy };
    std::shared_ptr<SectionSheet> sheet;
    const PT first = m_sectionPoints[0];
    const PT second = m_sectionPoints[1];
    const Outcome outcome = ReadStore<Outcome>(
        [&](CModelDataMng& store) {
            const SceneFrame& frame = FilesState().scene.frame;
            const SectionSpace space(frame.surveyTransform, frame.sectionTransform, store.GetRenderingCenterPt());
            StrokeCollectorScope collector(*this);
            auto built = CrossSection::Build(store, space, first, second, settings, font ? &*font : nullptr);
            if (!built)
                return Outcome::SamePlace;
            sheet = std::make_shared<SectionSheet>(std::move(*built));
            return Outcome::Built;
        },
        Outcome::Busy);

    switch (outcome) {
    case Outcome::Busy:
        tessara::MessageBox(filetexts::kBusy, filetexts::kCaption, tessara::MB_ICONWARNING, this);
        break;
    case Outcome::SamePlace:
        // A line without length has no direction: keep the first point and ask
        // for the second again.
        m_sectionPoints.resize(1);
        m_sectionToolActive = 1;
        m_sectionSheet.reset();
        SetMainFrameStatusText(kSecondPointPrompt);
        break;
    case Outcome::Built:
        m_sectionSheet = std::move(sheet);
        m_sectionToolActive = 0;
        // The next click starts a new section.
        SetMainFrameStatusText(kFirstPointPrompt);
        break;
    }
    InvalidateScene();
}

std::vector<QRect> CModelViewerView::SectionLabelsOnScreen() const
{
    std::vector<QRect> boxes;
    if (m_sectionSheet == nullptr)
        return boxes;
    for (const auto& corners : m_sectionSheet->labelBoxes) {
        QRect box;
        bool seen = true;
        for (const PT& c : corners) {
            QVector3D window;
            if (!ProjectToWindow(QVector3D(float(c.x()), float(c.y()), float(c.z())), window)) {
                seen = false;
                break;
            }
            const QPoint device(static_cast<int>(window.x()), m_clientHeight - static_cast<int>(window.y()));
            box |= QRect(ViewPointToScreen(*this, device), QSize(1, 1));
        }
        if (seen)
            boxes.push_back(box);
    }
    return boxes;
}

void CModelViewerView::DrawSectionLine()
{
    if (m_toolMode != toolmode::kSection) {
        CloseSectionToolTips();
        // Another tool took over: the dialog and the sheet go with the mode.
        if (m_sectionDialog) {
            m_sectionDialog->deleteLater();
            m_sectionDialog = nullptr;
        }
        m_sectionSheet.reset();
        return;
    }
    const bool settled = m_dragMode == kDragNone && !RefinementActive();
    if (!RefinementActive())
        CloseSectionToolTips();
    GlFunctions* gl = Gl();
    if (m_sectionPoints.size() < 2 || gl == nullptr)
        return;
    gl->glDepthFunc(GL_ALWAYS);
    const SectionSheet* sheet = m_sectionSheet.get();
    if (settled && sheet != nullptr) {
        const double values[3] = {sheet->length, sheet->leftHeight, sheet->rightHeight};
        const int kinds[3] = {7, 5, 6};
        for (int i = 0; i < 3; ++i) {
            const PT& a = sheet->anchors[static_cast<std::size_t>(i)];
            QVector3D window;
            if (!ProjectToWindow(QVector3D(float(a.x()), float(a.y()), float(a.z())), window))
                continue;
            const int x = static_cast<int>(window.x());
            const int y = m_clientHeight - static_cast<int>(window.y());
            if (x >= 1 && x <= m_clientWidth && y >= 1 && y <= m_clientHeight)
                ShowSectionValueToolTip(values[i], QPoint(x, y), kinds[i]);
        }
        gl->glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_ENABLE_BIT);
        gl->glDisable(GL_LIGHTING);
        gl->glDisable(GL_TEXTURE_2D);
        gl->glLineWidth(1.0f);
        gl->glColor3f(1.0f, 0.0f, 0.0f);
        gl->glBegin(GL_LINES);
        for (const LN& s : sheet->segments) {
            gl->glVertex3d(s.Pt1.x(), s.Pt1.y(), s.Pt1.z());
            gl->glVertex3d(s.Pt2.x(), s.Pt2.y(), s.Pt2.z());
        }
        gl->glEnd();
        gl->glPopAttrib();
        DrawToolMarkers(*gl, sheet->pointHits, 0.0f, 1.0f, 0.0f);
        DrawToolMarkers(*gl, sheet->tinHits, 1.0f, 0.0f, 1.0f);
        gl->glPushAttrib(GL_CURRENT_BIT | GL_LINE_BIT | GL_ENABLE_BIT);
        gl->glDisable(GL_LIGHTING);
        gl->glDisable(GL_TEXTURE_2D);
        gl->glLineWidth(2.0f);
        gl->glColor3f(1.0f, 0.0f, 0.0f);
        gl->glBegin(GL_LINE_STRIP);
        for (const PT& p : sheet->profile)
            gl->glVertex3d(p.x(), p.y(), p.z());
        gl->glEnd();
        gl->glPopAttrib();
        ArrangeSectionToolTips(SectionLabelsOnScreen());
    }
    DrawToolMarkers(*gl, m_sectionPoints, 1.0f, 0.0f, 0.0f);
}

