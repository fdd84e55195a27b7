// Files handed to the host (exchange file, points in polygons, shown TINs), the
// host's overlay file and its clip rectangle.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/files/ExchangeFile.h"
#include "viewer/files/HostOverlayStore.h"
#include "viewer/files/HostPolygonFile.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/FrameLink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <iterator>
#include <mutex>

namespace {

constexpr int kCadLayerKind = 50;

}  // namespace

// The callers hold the view mutex. On the UI thread (TIN to CAD) the progress
// display is shown directly and pending events run, the abort button's click among
// them; the caller keeps every other command and input away meanwhile (a long-work
// guard and a WorkInputFilter), since they would wait for the mutex this thread
// holds, and a pumped paint finds the view busy. On the pipe worker nothing waits
// for the UI thread (it may be waiting for the mutex): the frame's progress and
// abort flags are used directly, as any thread may. `aborted` tells an abort from
// a file that could not be written.
int CModelViewerView::WriteExchangeFile(const std::string& path, int contentFlags, int pointLimit, int tinType,
                                        bool* aborted)
{
    if (aborted != nullptr) *aborted = false;
    ExchangeFile file(*m_modelStore, ~m_files->scene.frame.surveyTransform);
    file.SetSelection(&BuffersState().pickBuckets);
    const auto& figures = m_modelStore->m_elmList;
    file.SetCadLayerFlag(std::any_of(figures.begin(), figures.end(),
                                     [](const CElmData& e) { return e.m_nKind == kCadLayerKind; }));
    const bool onUiThread = QThread::currentThread() == thread();
    const auto clamp = [](std::int64_t v) { return int(std::min<std::int64_t>(v, 0x7FFFFFFF)); };
    file.SetProgress([this, onUiThread, clamp, aborted](std::int64_t maximum, std::int64_t position) {
        int answer = 0;
        if (onUiThread) {
            SetMainFrameProgress(clamp(maximum), clamp(position));
            QCoreApplication::processEvents();
            // Asked after the pump: a click it delivered has had its answer.
            answer = SetMainFrameProgress(clamp(maximum), clamp(position));
        } else if (FrameLink* frame = FrameLink::Main()) {
            frame->UpdateProgress(unsigned(clamp(maximum)), unsigned(clamp(position)), position != maximum ? 1 : 0);
            answer = frame->PollAbort();
        }
        if (answer == ViewProgress::kStop && aborted != nullptr) *aborted = true;
        return answer;
    });
    file.SetProgressEnd([this, onUiThread] {
        if (onUiThread) {
            EndMainFrameProgress();
        } else if (FrameLink* frame = FrameLink::Main()) {
            frame->EndProgress();
        }
    });
    return file.WriteExchangeFile(path, contentFlags, pointLimit, tinType);
}

int CModelViewerView::ExportPointsInPolygons(const std::string& path)
{
    ExchangeFile file(*m_modelStore, ~m_files->scene.frame.surveyTransform);
    return file.ExportPointsInPolygons(path);
}

int CModelViewerView::WriteShownTins(const std::string& path)
{
    ExchangeFile file(*m_modelStore, ~m_files->scene.frame.surveyTransform);
    return file.WriteShownTins(path);
}

int CModelViewerView::SetClipRect(double x, double y, double width, double height)
{
    PT a(x, y, 0.0);
    PT b(x + width, y + height, 0.0);
    // A reply with no rectangle in it (not finite) leaves the one kept.
    if (!a.IsFinite() || !b.IsFinite()) return 1;
    std::lock_guard lock(ViewMutex());
    m_modelStore->UserToModel(a);
    m_modelStore->UserToModel(b);
    m_files->clipCorners = {a, b};
    m_files->clipRectSet = 1;
    m_axisDirty = true;
    m_gridBuilt = false;
    return 1;
}

// The file is read whole and checked before anything changes; only then is it
// installed under the lock and consumed. A file that cannot be read whole, or is not
// the host's, changes nothing and stays where it is.
int CModelViewerView::ReadHostPolygonFile(const std::string& path)
{
    if (m_files->busy.load(std::memory_order_acquire) != 0) return 0;
    HostPolygonContent content;
    std::string error;
    const HostPolygonFile::Result read = HostPolygonFile::Read(path, content, &error);
    if (read != HostPolygonFile::Result::Ok) {
        tessara::Log("host overlay file %s not read: %s", path.c_str(), error.c_str());
        return 0;
    }
    {
        std::lock_guard lock(ViewMutex());
        SceneFrame& frame = m_files->scene.frame;
        // The file's records mapped into the scene's frame, then added to what is shown.
        HostOverlayStore mapped;
        const HostOverlayStore::Installed installed = mapped.Install(content, frame);
        HostPolygonContent& shown = BuffersState().hostOverlay;
        std::move(mapped.points.begin(), mapped.points.end(), std::back_inserter(shown.points));
        std::move(mapped.segments.begin(), mapped.segments.end(), std::back_inserter(shown.segments));
        std::move(mapped.polygons.begin(), mapped.polygons.end(), std::back_inserter(shown.polygons));
        BuffersState().hostOverlayChanges.fetch_add(1, std::memory_order_relaxed);
        m_files->clipRectSet = 0;
        m_modelStore->SetRenderingCenterPt(installed.renderCentre);
        PT origin = installed.firstCorner;
        m_modelStore->UserToModel(origin);
        m_axisOrigin = QVector3D(float(origin.x() - 2.0), float(origin.y() - 2.0), 0.0f);
        m_axisDirty = true;
        m_files->axisOriginSet = true;
        InvalidatePaper();
        if (frame.baseElevationMode != 0 && !IsUnsetValue(installed.lowest) &&
            (IsUnsetValue(frame.baseElevation) || installed.lowest < frame.baseElevation))
            frame.baseElevation = installed.lowest;
        InvalidateAllBuffers();
    }
    if (HostPolygonFile::MayDelete(read)) tessara::DeleteFile(path);
    tessara::Log("host overlay file %s installed: %zu points, %zu segments, %zu polygons", path.c_str(),
                 content.points.size(), content.segments.size(), content.polygons.size());
    if (content.bytesAfterLastPolygon != 0)
        tessara::Log("host overlay file %s: %llu bytes after the last polygon not read", path.c_str(),
                     static_cast<unsigned long long>(content.bytesAfterLastPolygon));
    // A new scene frame, not the cached picture: the overlay shows (or goes) at once.
    QMetaObject::invokeMethod(this, [this] { InvalidateScene(); }, Qt::QueuedConnection);
    return 1;
}

int CModelViewerView::ClearHostPolygons()
{
    if (m_files->busy.load(std::memory_order_acquire) != 0) return 0;
    {
        std::lock_guard lock(ViewMutex());
        HostPolygonContent& shown = BuffersState().hostOverlay;
        shown.points.clear();
        shown.segments.clear();
        shown.polygons.clear();
        BuffersState().hostOverlayChanges.fetch_add(1, std::memory_order_relaxed);
        InvalidateAllBuffers();
    }
    // A new scene frame, not the cached picture: the overlay shows (or goes) at once.
    QMetaObject::invokeMethod(this, [this] { InvalidateScene(); }, Qt::QueuedConnection);
    return 1;
}
