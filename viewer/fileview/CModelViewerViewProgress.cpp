// WM_USER+100..104 and +108: status, progress and load-finished messages, and the
// helpers that do the same for work on the UI thread.
#include "viewer/render/CModelViewerView.h"
#include "platform/Log.h"

#include "platform/UiMessages.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/FrameLink.h"


#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

FrameLink* Frame() { return FrameLink::Main(); }

int FrameAnswer(const FrameLink& frame)
{
    return ViewProgress::Answer(frame.AbortPromptOpen(), frame.AbortRequested());
}

}  // namespace

void CModelViewerView::SetMainFrameStatusText(std::string text)
{
    {
        std::lock_guard lock(m_files->statusMutex);
        m_files->lastStatusText = text;
    }
    // Run checks follow the status texts on stderr.
    static const bool trace = std::getenv("TESSARA_TRACE_STATUS") != nullptr;
    if (trace) tessara::Log("status: %s", text.c_str());
    if (FrameLink* frame = Frame()) frame->SetStatusText(text);
}

std::string CModelViewerView::LastStatusText() const
{
    std::lock_guard lock(m_files->statusMutex);
    return m_files->lastStatusText;
}

void CModelViewerView::SendStatusText(const std::string& text)
{
    // The text travels by value: the handler owns the heap copy once it ran.
    auto owned = std::make_unique<std::string>(text);
    const auto handled = tessara::SendUiMessage(MessageTarget(), kMsgSetStatusText, 0,
                                                reinterpret_cast<std::intptr_t>(owned.get()));
    if (handled) owned.release();
}

std::intptr_t CModelViewerView::OnSetStatusText(std::uintptr_t, std::intptr_t lParam)
{
    std::unique_ptr<std::string> text(reinterpret_cast<std::string*>(lParam));
    if (text) SetMainFrameStatusText(*text);
    return 0;
}

int CModelViewerView::SetMainFrameProgress(int maximum, int position)
{
    FrameLink* frame = Frame();
    if (frame == nullptr) return 0;
    frame->UpdateProgress(unsigned(std::max(maximum, 0)), unsigned(std::max(position, 0)), maximum != position);
    return FrameAnswer(*frame);
}

void CModelViewerView::EndMainFrameProgress()
{
    if (FrameLink* frame = Frame()) frame->EndProgress();
}

std::intptr_t CModelViewerView::OnProgress(std::uintptr_t position, std::intptr_t maximum)
{
    return SetMainFrameProgress(int(maximum), int(position));
}

std::intptr_t CModelViewerView::OnProgressEnd(std::uintptr_t, std::intptr_t)
{
    EndMainFrameProgress();
    return 0;
}

std::intptr_t CModelViewerView::OnLoadProgress(std::uintptr_t done, std::intptr_t total)
{
    FrameLink* frame = Frame();
    if (frame == nullptr) return 0;
    const auto step = ViewProgress::LoadProgress(static_cast<long long>(done), static_cast<long long>(total));
    if (!step.act) return 0;
    SetMainFrameStatusText(step.status);
    if (step.endProgress) {
        EndMainFrameProgress();
        return 0;
    }
    frame->UpdateProgress(step.maximum, step.position, 1);
    return FrameAnswer(*frame);
}

std::intptr_t CModelViewerView::OnLoadFinished(std::uintptr_t code, std::intptr_t)
{
    m_files->busy.store(0, std::memory_order_release);
    if (const auto text = ViewProgress::LoadFinishedText(static_cast<std::intptr_t>(code)))
        SetMainFrameStatusText(*text);
    EndMainFrameProgress();
    // The loaded data may widen the height range the picture is coloured for: the
    // legends follow on the next frame, as after every other change of the data.
    InvalidateLegends();
    InvalidateScene();
    return 0;
}

std::intptr_t CModelViewerView::OnLandXmlLoadFinished(std::uintptr_t code, std::intptr_t)
{
    m_files->busy.store(0, std::memory_order_release);
    if (const auto text = ViewProgress::LandXmlFinishedText(static_cast<std::intptr_t>(code)))
        SetMainFrameStatusText(*text);
    EndMainFrameProgress();
    InvalidateLegends();
    InvalidateScene();
    return 0;
}
