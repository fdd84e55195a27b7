// The pane's store work while a worker loads host files: the worker reads each
// file off the store and installs its group under the view lock, as the pipe's
// loads do; the UI side plans the tree with a try-lock, as a paint does, and
// renames, copies and deletes under the lock. Run under ThreadSanitizer, this
// shows the two meet only through the lock.
#include "HostFileWriter.h"
#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/OwnedMutex.h"
#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/grouppane/GroupEdits.h"
#include "viewer/grouppane/GroupTreePlan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

using namespace grouptree;

TEST(GroupPaneLoadRace, PaneEditsWhileAWorkerLoadsAreClean)
{
    constexpr int kLoads = 100;
    hostfile::ExampleCounts counts;
    counts.points = 2000;
    hostfile::HostFileLayout layout = hostfile::MakeExample(counts);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(hostfile::WriteHostFile(layout, bytes));
    const std::string path = tessara::TempFolder() + "pane-race-" + std::to_string(::getpid()) + ".dat";
    ASSERT_TRUE(hostfile::SaveBytes(path, bytes));

    CModelDataMng store;
    tessara::OwnedMutex mutex;
    std::atomic<int> installed{0};
    std::atomic<bool> failed{false};

    std::thread worker([&] {
        for (int i = 0; i < kLoads; ++i) {
            HostDataContent content;
            HostDataFileReader reader(MTRX(), false);
            if (reader.Read(path, content) != HostDataFileReader::Result::Ok || !content.group) {
                failed = true;
                break;
            }
            content.group->m_name = "";  // the pane names it
            std::lock_guard lock(mutex);
            store.AddGroup(std::move(content.group));
            ++installed;
        }
    });

    int plans = 0, copies = 0, deletions = 0;
    while (installed.load() < kLoads && !failed.load()) {
        {
            std::unique_lock lock(mutex, std::try_to_lock);
            if (lock.owns_lock()) {
                PlanTree(store);
                ++plans;
            }
        }
        std::lock_guard lock(mutex);
        if (store.GetGroupCount() == 0) continue;
        CPCloudMng& first = *store.GetGroup(0);
        const std::uint64_t id = GroupId(first);
        const NameCheck check = CheckGroupName(store, id, "観測 " + std::to_string(plans));
        if (check.problem.empty()) first.m_name = check.name;
        if (store.GetGroupCount() < 6 && CopyCloudGroup(store, 0) >= 0) ++copies;
        if (store.GetGroupCount() > 8) {
            const DeleteWork work = DeleteNodeData(store, NodeKey{NodeKind::Group, GroupId(*store.GetGroup(1)), 0});
            deletions += work.done ? 1 : 0;
        }
    }
    worker.join();
    std::remove(path.c_str());

    ASSERT_FALSE(failed.load());
    SCOPED_TRACE(std::to_string(plans) + " plans, " + std::to_string(copies) + " copies, " +
                 std::to_string(deletions) + " deletions");
    EXPECT_EQ(installed.load(), kLoads);
    std::lock_guard lock(mutex);
    PlanTree(store);
    // Every group in the store has a node of its own.
    for (int g = 0; g < store.GetGroupCount(); ++g)
        EXPECT_GE(FindGroup(store, PeekGroupId(*store.GetGroup(g))), 0);
}
