#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewer/render/CommandMap.h"

namespace {

TEST(CommandMapTest, FirstBindingOfAnIdWins)
{
    CommandMap map;
    int which = 0;
    EXPECT_TRUE(map.On(32796, [&] { which = 1; }));
    EXPECT_FALSE(map.On(32796, [&] { which = 2; }));
    (*map.FindCommand(32796))();
    EXPECT_EQ(which, 1);
}

TEST(CommandMapTest, MessageWithoutHandlerAnswersZero)
{
    CommandMap map;
    map.OnMessage(0x0400 + 104, [](std::uintptr_t w, std::intptr_t l) { return static_cast<std::intptr_t>(w) + l; });
    EXPECT_EQ(map.Dispatch(0x0400 + 104, 2, 3), 5);
    EXPECT_EQ(map.Dispatch(0x0400 + 107, 2, 3), 0);
}

TEST(CommandMapTest, RangeHandlersReceiveTheirId)
{
    CommandMap map;
    unsigned got = 0;
    map.OnRange(205, 219, [&](unsigned id) { got = id; });
    (*map.FindCommand(212))();
    EXPECT_EQ(got, 212u);
    EXPECT_EQ(map.FindCommand(220), nullptr);
}

TEST(CommandMapTest, BeforeRunsFirstAndNeedsAHandler)
{
    CommandMap map;
    std::string order;
    map.On(32817, [&] { order += "b"; });
    EXPECT_TRUE(map.Before(32817, [&] { order += "a"; }));
    EXPECT_FALSE(map.Before(32818, [&] { order += "x"; })) << "no handler, nothing to run before";
    EXPECT_EQ(map.FindCommand(32818), nullptr);
    (*map.FindCommand(32817))();
    EXPECT_EQ(order, "ab");
}

TEST(CommandMapTest, CommandIdsListsEveryBoundIdInOrder)
{
    CommandMap map;
    map.On(32820, [] {});
    map.OnRange(205, 207, [](unsigned) {});
    map.OnUpdate(32800, [](CommandUi&) {});  // an update alone is no command
    EXPECT_EQ(map.CommandIds(), (std::vector<unsigned>{205, 206, 207, 32820}));
}

}  // namespace
