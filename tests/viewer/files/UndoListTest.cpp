#include "viewer/files/UndoList.h"

#include "HostFileFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <thread>

namespace {

void Touch(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
}

}  // namespace

TEST(UndoListTest, SlotNamesFollowTheStoredPattern)
{
    UndoList list(1, "/tmp/x/");
    EXPECT_EQ(list.SlotName(7), "/tmp/x/~DAveru_undo_1_007.tmp");
}

TEST(UndoListTest, TwentyFirstPushReusesTheOldestNameAsTheNewest)
{
    HostFileFolder dir;
    UndoList list(0, dir.Path(""));
    for (int i = 0; i < 20; ++i) {
        const auto name = list.ReserveSlot();
        ASSERT_TRUE(name.has_value());
        Touch(*name, std::to_string(i));
    }
    const auto reused = list.ReserveSlot();
    ASSERT_TRUE(reused.has_value());
    EXPECT_EQ(*reused, list.SlotName(0));
    EXPECT_FALSE(std::ifstream(*reused).good()) << "the oldest snapshot was deleted";
    Touch(*reused, "20");
    EXPECT_EQ(list.Size(), 20u);
    EXPECT_EQ(*list.TakeNewest(), list.SlotName(0));
    EXPECT_EQ(*list.TakeNewest(), list.SlotName(19));
}

TEST(UndoListTest, AFailedSaveFreesItsSlot)
{
    HostFileFolder dir;
    UndoList list(0, dir.Path(""));
    const auto failed = list.ReserveSlot();
    list.Forget(*failed);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(*list.ReserveSlot(), *failed);
}

TEST(UndoListTest, ReservedButUnwrittenSlotsAreNotHandedOutTwice)
{
    HostFileFolder dir;
    UndoList list(0, dir.Path(""));
    std::set<std::string> names;
    std::mutex mutex;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                auto name = list.ReserveSlot();
                std::lock_guard lock(mutex);
                if (name) names.insert(*name);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(names.size(), 20u);
}

TEST(UndoListTest, BlockedSlotsWithAShortListWriteNoSnapshot)
{
    HostFileFolder dir;
    UndoList list(0, dir.Path(""));
    for (int slot = 0; slot < 20; ++slot) Touch(list.SlotName(slot), "left");
    EXPECT_FALSE(list.ReserveSlot().has_value());
    list.Clear();
    EXPECT_FALSE(std::ifstream(list.SlotName(3)).good());
    EXPECT_TRUE(list.ReserveSlot().has_value());
}
