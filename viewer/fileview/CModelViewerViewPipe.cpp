// The pipe worker's loop: the viewer's pipe served for this view.
#include "viewer/render/CModelViewerView.h"

#include "platform/MessageBox.h"
#include "viewer/files/PipeCommandCodes.h"
#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/PipeServer.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"

#include <QMetaObject>

#include <mutex>

namespace {

// The view as the pipe server sees it. Runs on the worker thread: it reads the
// store only under the view mutex and reaches widgets only by posting.
class ViewPipeCommandTarget : public PipeCommandTarget {
public:
    explicit ViewPipeCommandTarget(CModelViewerView& view) : m_view(view) {}

    int LoadHostDataFile(const std::string& path) override
    {
        if (RefusedWhileBusy(true)) return 0;
        return m_view.LoadHostDataFile(path, 0, 0);
    }
    int WriteExchangeFile(const std::string& path, std::int32_t flags, std::int32_t limit) override
    {
        std::lock_guard lock(m_view.ViewMutex());
        return m_view.WriteExchangeFile(path, flags, limit, pipecmd::kExchangeTinTypeLayerFlag);
    }
    int ExportPointsInPolygons(const std::string& path) override
    {
        if (RefusedWhileBusy(true)) return 0;
        std::lock_guard lock(m_view.ViewMutex());
        return m_view.ExportPointsInPolygons(path);
    }
    int WriteShownTins(const std::string& path) override
    {
        if (RefusedWhileBusy(true)) return 0;
        std::lock_guard lock(m_view.ViewMutex());
        return m_view.WriteShownTins(path);
    }
    int ReadHostPolygonFile(const std::string& path) override
    {
        if (RefusedWhileBusy(true)) return 0;
        return m_view.ReadHostPolygonFile(path);
    }
    int ClearHostPolygons() override
    {
        if (RefusedWhileBusy(false)) return 0;
        return m_view.ClearHostPolygons();
    }

private:
    // While the view is busy a command is refused; the message is posted to the UI
    // thread, the worker does not wait for it.
    bool RefusedWhileBusy(bool tell)
    {
        if (m_view.FilesState().busy.load(std::memory_order_acquire) == 0) return false;
        if (tell) {
            QMetaObject::invokeMethod(
                &m_view, [] { tessara::MessageBox(filetexts::kBusy, filetexts::kCaption, tessara::MB_OK); },
                Qt::QueuedConnection);
        }
        return true;
    }

    CModelViewerView& m_view;
};

}  // namespace

void CModelViewerView::PipeServerLoop(WorkerStopToken& stop)
{
    ViewPipeCommandTarget target(*this);
    PipeServer server(target, pipecmd::kViewerPipeName);
    stop.SetInterrupt([&server] { server.RequestStop(); });
    PipeServerThreadProc(server);
    stop.SetInterrupt({});
}
