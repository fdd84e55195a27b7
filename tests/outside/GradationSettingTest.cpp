#include "outside/CGradationSetting.h"

#include "platform/MemoryProfile.h"

#include <gtest/gtest.h>

namespace {

TEST(GradationSettingTest, BuiltInsFirstAndCurrent)
{
    CGradationSetting g;
    ASSERT_GE(g.m_settings.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.m_settings[i].id, i + 1);
        const auto& stops = g.m_settings[i].stops;
        ASSERT_GE(stops.size(), 2u);
        EXPECT_EQ(stops.front().level, 255);
        EXPECT_EQ(stops.back().level, 0);
        EXPECT_EQ(g.m_settings[i].count, static_cast<int>(stops.size()));
    }
    ASSERT_NE(g.GetCurColorConf(), nullptr);
    EXPECT_EQ(g.EraseCurSetting(), 0); // built in
    g.m_nCurIndex = 40;
    EXPECT_EQ(g.GetCurColorConf(), nullptr);
}

TEST(GradationSettingTest, SaveLoadRoundTripAndErase)
{
    tessara::MemoryProfile profile;
    CGradationSetting g;
    const int idx = g.AddSetting("私の設定", {{0, 0x000000}, {128, 0x00FF00}, {255, 0xFFFFFF}});
    g.m_nCurIndex = static_cast<std::uint16_t>(idx);
    g.m_nCurId = g.m_settings[idx].id;
    EXPECT_EQ(g.m_nCurId, 4);
    ASSERT_EQ(g.SaveGradationSetting(profile), 1);

    CGradationSetting back;
    EXPECT_EQ(back.LoadGradationSetting(profile), 1);
    ASSERT_EQ(back.m_settings.size(), 4u);
    EXPECT_EQ(back.m_settings[3].name, "私の設定");
    EXPECT_EQ(back.m_nCurIndex, 3);
    ASSERT_EQ(back.GetCurColorConf()->size(), 3u);
    EXPECT_EQ((*back.GetCurColorConf())[0].level, 255); // descending
    EXPECT_EQ((*back.GetCurColorConf())[1].color, 0x00FF00u);

    EXPECT_EQ(back.EraseCurSetting(), 1);
    EXPECT_EQ(back.m_settings.size(), 3u);
    EXPECT_EQ(back.m_nCurIndex, 2);
    EXPECT_EQ(back.m_nCurId, 3);
}

TEST(GradationSettingTest, DamagedProfileEntriesAreSkipped)
{
    tessara::MemoryProfile profile;
    profile.WriteProfileInt("SectionGradation", "Count", 3);
    profile.WriteProfileString("SectionGradation", "Name0", "bad stops");
    profile.WriteProfileInt("SectionGradation", "Id0", 4);
    profile.WriteProfileString("SectionGradation", "Stops0", "300:1,x");
    profile.WriteProfileString("SectionGradation", "Name1", "built-in id");
    profile.WriteProfileInt("SectionGradation", "Id1", 2);
    profile.WriteProfileString("SectionGradation", "Stops1", "255:1,0:2");
    profile.WriteProfileString("SectionGradation", "Name2", "fine");
    profile.WriteProfileInt("SectionGradation", "Id2", 9);
    profile.WriteProfileString("SectionGradation", "Stops2", "100:255");
    profile.WriteProfileInt("SectionGradation", "CurId", 77);
    CGradationSetting g;
    EXPECT_EQ(g.LoadGradationSetting(profile), 1);
    ASSERT_EQ(g.m_settings.size(), 4u);
    EXPECT_EQ(g.m_settings[3].stops.size(), 3u); // 255 and 0 added around 100
    EXPECT_EQ(g.m_nCurIndex, 0);                 // unknown current id
}

} // namespace
