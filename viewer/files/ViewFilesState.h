#pragma once

#include "viewer/files/DeferredFileClose.h"
#include "viewer/files/SceneFrame.h"
#include "viewer/files/UndoList.h"

#include <array>
#include <atomic>
#include <functional>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>

class PipeServer;
class PipeCommandTarget;

// What the main view keeps for its files and host link: the frame block and the
// other view state model files carry, the two undo lists and the flags the pipe
// worker and the UI thread share.
struct ViewFilesState {
    ViewFilesState();
    ~ViewFilesState();

    ModelViewState scene;                   // guarded by the view mutex
    UndoList undo0;
    UndoList undo1;

    // Set while the view runs work that pipe commands 1, 18, 19, 20 and 21 must not
    // interrupt; cleared by the load-finished handlers.
    std::atomic<int> busy{0};
    // Set while a client command waits for the host's reply (events are pumped then,
    // and a second client command must not start).
    std::atomic<bool> hostExchangeRunning{false};
    // How long a client command waits for the host's reply at most (the host may
    // first send its own commands, so it is generous); tests shorten it.
    std::chrono::milliseconds hostReplyLimit{std::chrono::minutes(5)};
    // Marks for the render passes (the buffers work consumes them).
    std::atomic<int> pickBucketsCleared{0};
    // Set by a model load whose content leaves the TIN picture behind: the next
    // render pass destroys the texture (with the context current) unless a new
    // picture took its place first.
    std::atomic<int> textureDropped{0};
    // Scene-changed flags of a load.
    std::atomic<int> sceneChanged{0};
    // The lowest elevation the view knows, 1e-16 for none (the base-height colouring).
    double lowestElevation = 1e-16;
    // Axis and grid origin in model coordinates, set by host loads.
    bool axisOriginSet = false;
    // The reference point (X0, Y0) of the last host data file, in the host's survey
    // coordinates, and the survey transform it came with (guarded by the view
    // mutex): it stands for the scene while the frame keeps that transform.
    PT hostReference;
    MTRX hostReferenceTransform;
    bool hostReferenceSet = false;

    // The host's clip rectangle in model coordinates (pipe command 0's reply).
    std::array<PT, 2> clipCorners;
    int clipRectSet = 0;
    // Set while an export runs on the UI thread (it pumps events): a second export
    // and closing are refused.
    std::atomic<int> exportBusy{0};
    // The file last opened or being saved (UI thread).
    std::string currentFileName;

    mutable std::mutex statusMutex;
    std::string lastStatusText;

    // Descriptors of consumed host files, closed after the load has answered.
    DeferredFileClose consumedFiles;

    // The view's clearing of model content (set by the commands at start-up); a
    // model-file load clears through it with the view mutex held.
    std::function<void(std::uint16_t flags, std::uint16_t version)> clearData;

    // The worker's server while it runs (for the stop request).
    std::unique_ptr<PipeCommandTarget> pipeTarget;
};
