#include "viewer/buffers/BufferNameQueue.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/RenderBook.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

// The pipe worker marks everything and drops groups under the view lock while
// the UI thread paints whenever it gets the lock; the clear hooks and the
// orphaned names reach the UI thread through the book, never the other way.
TEST(WorkerInvalidation, MarksAndOrphansMeetThePaintOnlyUnderTheLock)
{
    std::mutex viewMutex;
    CModelDataMng store;
    RenderBook book;
    for (int i = 0; i < 50; ++i) {
        auto group = std::make_unique<CPCloudMng>();
        GroupGpuData& data = GroupGpuData::Of(*group, book.NameQueue());
        data.positionBuffers[0] = static_cast<GLuint>(i + 1);  // names as a build leaves them
        store.AddGroup(std::move(group));
    }
    book.Kind(DrawableKind::GroupCloud).built = 1;
    book.Kind(DrawableKind::CadFigure).built = 1;

    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; round < 50; ++round) {
            std::lock_guard lock(viewMutex);
            book.InvalidateAll();
            store.m_groups.pop_back();
        }
        done = true;
    });
    int clears = 0;
    while (!done) {
        std::unique_lock lock(viewMutex, std::try_to_lock);
        if (!lock) continue;
        const RenderBook::PendingHooks hooks = book.TakePendingHooks();
        if (hooks.clearPickBuckets) ++clears;
        // A display pass releases and rebuilds what was marked.
        book.Kind(DrawableKind::GroupCloud).releasePending = 0;
        book.Kind(DrawableKind::CadFigure).releasePending = 0;
    }
    worker.join();
    if (book.TakePendingHooks().clearPickBuckets) ++clears;
    EXPECT_GE(clears, 1);
    EXPECT_EQ(store.GetGroupCount(), 0);
    EXPECT_EQ(book.NameQueue()->Size(), 50u);
}
