#pragma once

#include "viewer/buffers/DrawableKind.h"
#include "viewer/buffers/HostBlocks.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

class BufferNameQueue;

// The book-keeping every builder and pass shares: per drawable kind its built
// and release-pending flags and the mode it was built in, the seventeen draw
// switches, the queue of orphaned buffer names, and the clear hooks that
// InvalidateAll leaves for the UI thread.
class RenderBook {
public:
    struct KindState {
        std::int32_t built = 0;
        std::int32_t releasePending = 0;
        //! Picture or colour mode the buffers were made for; -1 when unbuilt.
        std::int32_t builtMode = -1;
    };

    //! What InvalidateAll asks of the UI thread.
    struct PendingHooks {
        bool clearSelection = false;
        bool clearPickBuckets = false;
    };

    RenderBook();

    KindState& Kind(DrawableKind kind) { return m_kinds[static_cast<std::size_t>(kind)]; }
    const KindState& Kind(DrawableKind kind) const { return m_kinds[static_cast<std::size_t>(kind)]; }
    std::int32_t& Switch(DrawSwitch s) { return m_switches[static_cast<std::size_t>(s) - 1]; }
    std::int32_t Switch(DrawSwitch s) const { return m_switches[static_cast<std::size_t>(s) - 1]; }
    void SetAllSwitches(std::int32_t value) { m_switches.fill(value); }

    //! Marks every built kind of the invalidation list for release and notes the
    //! clear hooks due. Never touches GL; any thread holding the view lock.
    void InvalidateAll();
    //! The hooks due since the last call, cleared; UI thread.
    PendingHooks TakePendingHooks();

    const std::shared_ptr<BufferNameQueue>& NameQueue() const { return m_queue; }

    //! Bytes handed to glBufferData so far.
    std::uint64_t UploadedBytes() const { return m_uploadedBytes; }
    void CountUpload(std::uint64_t bytes) { m_uploadedBytes += bytes; }
    //! True the first time a kind reports a GL failure, so it is logged once.
    bool FirstFailure(DrawableKind kind);

    //! Point buffers built in host memory that GL keeps as their storage:
    //! allowed (the default) where the renderer can, else buffers are mapped.
    bool allowHostStorage = true;
    //! -1 not asked yet, 0 the renderer cannot, 1 it can.
    std::int32_t hostStorage = -1;
    //! Host memory of released point buffers, for the next build.
    HostBlockPool& PointStorage() { return m_pointStorage; }

private:
    std::array<KindState, kDrawableKindCount> m_kinds{};
    std::array<std::int32_t, kDrawSwitchCount> m_switches{};
    std::array<bool, kDrawableKindCount> m_failureLogged{};
    std::atomic<bool> m_clearSelectionPending{false};
    std::atomic<bool> m_clearPickBucketsPending{false};
    std::shared_ptr<BufferNameQueue> m_queue;
    std::uint64_t m_uploadedBytes = 0;
    HostBlockPool m_pointStorage;
};
