// Requests the viewer sends to the host's pipe.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/CNamedPipe.h"
#include "platform/Files.h"
#include "platform/IProfile.h"
#include "platform/MessageBox.h"
#include "platform/UiMessages.h"
#include "viewer/render/FrameLink.h"
#include "viewer/render/LongWorkGuard.h"
#include "viewer/render/ShellHooks.h"
#include "viewer/render/WorkInputFilter.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/HostClientTexts.h"
#include "viewer/files/PipeCommandCodes.h"
#include "viewer/files/PipeMessage.h"
#include "viewer/files/PipePaths.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace hosttexts;

constexpr auto kConnectLimit = std::chrono::milliseconds(5000);
constexpr auto kRetryPause = std::chrono::milliseconds(10);
constexpr auto kWaitSlice = std::chrono::milliseconds(50);
constexpr auto kPumpPause = std::chrono::milliseconds(5);
constexpr int kTinPictureTexture = 3;

int Ask(const char* text, unsigned icon)
{
    return tessara::MessageBox(text, filetexts::kCaption, tessara::MB_YESNO | icon);
}

void Tell(const char* text)
{
    tessara::MessageBox(text, filetexts::kCaption, tessara::MB_OK | tessara::MB_ICONWARNING);
}

// Marks a client exchange for its whole run; a second one cannot start meanwhile
// (events are pumped while the host answers).
class HostExchangeScope {
public:
    explicit HostExchangeScope(std::atomic<bool>& running) : m_running(running)
    {
        m_owner = !m_running.exchange(true, std::memory_order_acq_rel);
    }
    ~HostExchangeScope()
    {
        if (m_owner) m_running.store(false, std::memory_order_release);
    }
    bool Owner() const { return m_owner; }

private:
    std::atomic<bool>& m_running;
    bool m_owner = false;
};

}  // namespace

bool CModelViewerView::ConnectHostPipe(CNamedPipe& pipe, const char* pipeName)
{
    // Bounded, and the window stays alive meanwhile: events are handled between tries.
    const auto deadline = std::chrono::steady_clock::now() + kConnectLimit;
    do {
        if (pipe.Open(pipeName)) return true;
        if (pipe.GetLastError() == CNamedPipe::kErrorPipeBusy) {
            CNamedPipe::Wait(pipeName, std::uint32_t(kWaitSlice.count()));
        } else {
            std::this_thread::sleep_for(kRetryPause);
        }
        tessara::PumpPendingEvents();
    } while (std::chrono::steady_clock::now() < deadline);
    return pipe.IsOpen();
}

bool CModelViewerView::ExchangeWithHost(CNamedPipe& pipe, PipeMessage& message)
{
    // The host may send its own command on the viewer's pipe before it answers;
    // that load ends with a message to this thread, so the wait pumps events and
    // has no short deadline. The abort button, a closing window and a limit of
    // minutes end it, with or without a main window.
    std::atomic<bool> done{false};
    bool replied = false;
    std::thread exchange([&] {
        if (pipe.Write(message.Data(), PipeMessage::kSize)) {
            pipe.Flush();
            replied = pipe.Read(message.Data(), PipeMessage::kSize);
        }
        done.store(true, std::memory_order_release);
    });
    const auto deadline = std::chrono::steady_clock::now() + m_files->hostReplyLimit;
    bool interrupted = false;
    while (!done.load(std::memory_order_acquire)) {
        tessara::PumpPendingEvents();
        const FrameLink* frame = FrameLink::Main();
        const bool stop = (frame != nullptr && (frame->PollAbort() == ViewProgress::kStop || frame->Closing())) ||
                          std::chrono::steady_clock::now() >= deadline;
        if (stop && !interrupted) {
            pipe.Interrupt();
            interrupted = true;
        }
        std::this_thread::sleep_for(kPumpPause);
    }
    exchange.join();
    return replied && !interrupted;
}

void CModelViewerView::OnGetHostCad()
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return;
    if (Ask(kAskGetCad, tessara::MB_ICONQUESTION) != tessara::IDYES) return;
    bool hasFigures = false;
    {
        std::lock_guard lock(ViewMutex());
        hasFigures = !m_modelStore->m_elmList.empty();
    }
    if (hasFigures && Ask(kAskDiscardCad, tessara::MB_ICONHAND) == tessara::IDNO) return;
    CNamedPipe pipe;
    if (!ConnectHostPipe(pipe, pipecmd::kHostPipeName)) {
        Tell(kNoAnswer);
        return;
    }
    SetMainFrameStatusText(kMakingData);
    PipeMessage message;
    message.SetCode(pipecmd::kGetHostCad);
    message.SetInt32At(PipeMessage::kPathOffset, -1);
    message.SetInt32At(PipeMessage::kCadTextureSwitchesOffset, m_settings.drawHostCad);
    message.SetInt32At(PipeMessage::kCadTextureSwitchesOffset + 4, m_settings.drawHostPart);
    message.SetInt32At(PipeMessage::kCadTextureSwitchesOffset + 8, m_settings.hostMapTexture);
    if (ExchangeWithHost(pipe, message)) {
        // A reply path without its terminator is not followed.
        if (const auto path = PipePathAt(message, PipeMessage::kCadDataPathOffset)) {
            LoadHostDataFile(*path, message.Int32At(PipeMessage::kCadColourPictureOffset),
                             message.Int32At(PipeMessage::kCadTexturePictureOffset));
        }
        const std::size_t clip = PipeMessage::kClipRectOffset;
        SetClipRect(message.DoubleAt(clip), message.DoubleAt(clip + 8), message.DoubleAt(clip + 16),
                    message.DoubleAt(clip + 24));
    }
    SetMainFrameStatusText(kMadeData);
}

void CModelViewerView::OnRegisterTinToHost()
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return;
    // The choice comes before the host's pipe is opened, so no connection waits on it.
    tessara::IProfile* profile = tessara::AppProfile();
    int type = profile ? profile->GetProfileInt("Tin2Cad", "Type", 0) : 0;
    if (const auto& choose = ShellHooks::Instance().chooseTinToCadKind; choose) {
        if (!choose(this, type)) return;
        if (profile) profile->WriteProfileInt("Tin2Cad", "Type", type);
    }
    SetMainFrameStatusText(kRegisterTin);
    CNamedPipe pipe;
    if (!ConnectHostPipe(pipe, pipecmd::kHostPipeName)) {
        SetMainFrameStatusText(kRegisterNeedsHost);
        Tell(kRegisterNeedsHost);
        return;
    }
    const std::string folder = tessara::TempFolder();
    if (folder.empty()) return;
    const std::string exchange = folder + "~TIN2CAD.DAT";
    SetMainFrameStatusText(kMakingExchange);
    int items = 0;
    bool aborted = false;
    {
        // The writer pumps events with the lock held on this thread so its abort
        // button works: every other command is refused meanwhile and every other
        // input dropped, and a pumped paint finds the view busy.
        LongWorkGuard working(LongWorkGuard::Kind::Other);
        WorkInputFilter input;
        CancelRefinement();
        std::lock_guard lock(ViewMutex());
        items = WriteExchangeFile(exchange, 1, 0, type, &aborted);
    }
    if (aborted) {
        // The user stopped it: nothing is handed over, and there is no missing TIN to report.
        EndMainFrameProgress();
        SetMainFrameStatusText("");
    } else if (items < 1) {
        SetMainFrameStatusText("");
        Tell(kNoTin);
    } else {
        SetMainFrameStatusText(kRegistering);
        PipeMessage message;
        message.SetCode(pipecmd::kRegisterTin);
        if (SetPipePathAt(message, PipeMessage::kPathOffset, exchange)) {
            message.SetInt32At(PipeMessage::kExchangeFlagsOffset, 1);
            message.SetInt32At(PipeMessage::kItemCountOffset, items);
            message.SetInt32At(PipeMessage::kPointLimitOffset, 0);
            if (ExchangeWithHost(pipe, message))
                SetMainFrameStatusText(message.Result() != 0 ? kRegistered : kRegisterFailed);
        } else {
            // A temp path the record cannot carry whole is refused, never cut.
            SetMainFrameStatusText(kRegisterFailed);
        }
    }
    if (tessara::FileExists(exchange)) tessara::DeleteFile(exchange);
}

void CModelViewerView::OnFetchHostCad()
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return;
    if (Ask(kAskRefetchCad, tessara::MB_ICONINFORMATION) != tessara::IDYES) return;
    CNamedPipe pipe;
    PipeMessage message;
    message.SetCode(pipecmd::kFetchHostCad);
    if (ConnectHostPipe(pipe, pipecmd::kHostPipeName) && ExchangeWithHost(pipe, message) && message.Result() != 0) {
        SetMainFrameStatusText(kCadUpdated);
        return;
    }
    Tell(kUpdateFailed);
}

void CModelViewerView::OnFetchHostTexture()
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return;
    if (Ask(kAskTexture, tessara::MB_ICONINFORMATION) != tessara::IDYES) return;
    SetMainFrameStatusText(kTextureUpdating);
    PushUndoSnapshot(fileformat::kGroupTins | fileformat::kViewCloud | fileformat::kCadTin);
    CNamedPipe pipe;
    PipeMessage message;
    message.SetCode(pipecmd::kFetchTexture);
    message.SetInt32At(PipeMessage::kTextureSwitchesOffset, m_settings.drawHostCad);
    message.SetInt32At(PipeMessage::kTextureSwitchesOffset + 4, m_settings.drawHostPart);
    message.SetInt32At(PipeMessage::kTextureSwitchesOffset + 8, m_settings.hostMapTexture);
    const bool answered =
        ConnectHostPipe(pipe, pipecmd::kHostPipeName) && ExchangeWithHost(pipe, message) && message.Result() != 0;
    const auto image = answered ? PipePathAt(message, PipeMessage::kPathOffset) : std::nullopt;
    if (image) {
        const double x = message.DoubleAt(PipeMessage::kTextureXOffset);
        const double y = message.DoubleAt(PipeMessage::kTextureYOffset);
        const double width = message.DoubleAt(PipeMessage::kTextureWidthOffset);
        const double height = message.DoubleAt(PipeMessage::kTextureHeightOffset);
        const double angle = message.DoubleAt(PipeMessage::kTextureAngleOffset);
        LoadGeoTexture(image->c_str(), x, y, width, height, angle);
        SetMainFrameStatusText(kTextureUpdated);
    } else {
        Tell(kUpdateFailed);
    }
    SetMainFrameStatusText(kTinDone);
    if (m_settings.tinPictureMode != kTinPictureTexture) {
        m_settings.tinPictureMode = kTinPictureTexture;
        InvalidateScene();
    }
}

void CModelViewerView::OnGetHostPointClouds()
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return;
    bool hasPoints = false;
    {
        std::lock_guard lock(ViewMutex());
        for (int i = 0; i < m_modelStore->GetGroupCount() && !hasPoints; ++i) {
            const CPCloudMng* g = m_modelStore->GetGroup(i);
            hasPoints = g != nullptr && g->GetCloudPointSize() > 0;
        }
    }
    int answer = 0;
    if (!hasPoints) {
        answer = Ask(kAskPointClouds, tessara::MB_ICONQUESTION);
    } else {
        if (Ask(kAskPointCloudsAdd, tessara::MB_ICONQUESTION) == tessara::IDNO) return;
        answer = Ask(kAskDuplicates, tessara::MB_ICONHAND);
    }
    if (answer == tessara::IDNO) return;
    CNamedPipe pipe;
    if (!ConnectHostPipe(pipe, pipecmd::kHostPipeName)) return;
    PipeMessage message;
    message.SetCode(pipecmd::kGetPointClouds);
    ExchangeWithHost(pipe, message);
}

bool CModelViewerView::FetchHostWindowPlacement(int alignmentMode, std::array<int, 4>& rect)
{
    HostExchangeScope scope(m_files->hostExchangeRunning);
    if (!scope.Owner()) return false;
    CNamedPipe pipe;
    if (!ConnectHostPipe(pipe, pipecmd::kHostPipeName)) return false;
    PipeMessage message;
    message.SetCode(pipecmd::kWindowPlacement);
    message.SetInt32At(PipeMessage::kAlignmentModeOffset, alignmentMode);
    if (!ExchangeWithHost(pipe, message) || message.Result() == 0) return false;
    for (std::size_t i = 0; i < rect.size(); ++i)
        rect[i] = message.Int32At(PipeMessage::kWindowRectOffset + 4 * i);
    return true;
}
