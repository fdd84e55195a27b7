#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/levelling/JSUIJKN.h"
#include "hostfw/levelling/JSUIKOUSA.h"
#include "hostfw/levelling/SiSdoPrc.h"
#include "hostfw/levelling/SuiSyuboCalc.h"
#include "hostfw/levelling/VJyoken.h"

namespace {

constexpr double kUnset = 1e-16;

PartRecord Row(std::initializer_list<FieldValue> fields)
{
    PartRecord r;
    r.Fields().assign(fields.begin(), fields.end());
    return r;
}

// A part system with a note (10), a network adjustment (20) and a check route (30).
class LevellingHostServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_file = std::filesystem::temp_directory_path() /
                 ("levelling-services-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
        std::filesystem::remove(m_file);
        std::string error;
        m_system = PartSystem::Open(m_file, true, error);
        ASSERT_TRUE(m_system) << error;
        for (const auto& [program, address] : {std::pair<WORD, DWORD>{921, 10}, {938, 20}, {935, 30}}) {
            PartData part(program, address);
            part.PutRecord("F", 0, program == 935 ? Row({std::int64_t{1}, std::int64_t{2}, std::int64_t{3}})
                                                  : Row({std::int64_t{2}, std::int64_t{1}}));
            ASSERT_TRUE(m_system->StorePart(part, error)) << error;
        }
        ASSERT_TRUE(m_system->PutAnswers(10, "SUISYUBO", {Row({std::int64_t{1}, 9.0}), Row({std::int64_t{2}, -4.5})},
                                         error));
        ASSERT_TRUE(m_system->PutAnswers(20, "SISDO_NET", {Row({kUnset})}, error));
        ASSERT_TRUE(m_system->PutAnswers(30, "SISDO_ROUTE", {Row({-2.25})}, error));
    }
    void TearDown() override
    {
        m_system.reset();
        std::filesystem::remove(m_file);
    }

    std::filesystem::path m_file;
    std::unique_ptr<PartSystem> m_system;
};

TEST_F(LevellingHostServicesTest, NoteRaisesTheMaximumByMagnitude)
{
    struct Case { DWORD part; short grade; double before; int result; double after; };
    for (const Case& c : {Case{10, 2, kUnset, 1, -4.5}, Case{10, 2, 3.0, 1, -4.5}, Case{10, 2, -6.0, 1, -6.0},
                          Case{10, 3, 1.0, 0, 1.0},      // no difference stored for the grade
                          Case{20, 2, 1.0, 0, 1.0},      // not a note
                          Case{99, 2, 1.0, 0, 1.0}}) {   // no such part
        double maximum = c.before;
        EXPECT_EQ(SuiSyuboCalc(c.part, c.grade, maximum, m_system.get()), c.result) << c.part << "/" << c.grade;
        EXPECT_EQ(maximum, c.after) << c.part << "/" << c.grade;
    }
}

TEST_F(LevellingHostServicesTest, StoredResultsByMode)
{
    DbSiSdo record;
    EXPECT_EQ(SiSdoPrc(m_system.get(), SiSdoPrc::kModeNetwork).Get(20, record), 1);
    EXPECT_EQ(record.standardDeviation, kUnset);   // the sentinel passes through
    EXPECT_EQ(SiSdoPrc(m_system.get(), SiSdoPrc::kModeRoute).Get(30, record), 1);
    EXPECT_EQ(record.closure, -2.25);
    EXPECT_EQ(SiSdoPrc(m_system.get(), SiSdoPrc::kModeNetwork).Get(30, record), 0);
    EXPECT_EQ(SiSdoPrc(nullptr, SiSdoPrc::kModeRoute).Get(30, record), 0);
}

TEST_F(LevellingHostServicesTest, ConditionsReplaceTheDefaults)
{
    JSUIKOUSA table;
    EXPECT_FALSE(table.Read(m_system.get()));
    EXPECT_EQ(table.roundTrip[0], 2.5);
    JSUIJKN conditions;
    EXPECT_EQ(VJyoken(m_system.get()).GetSuiJynVur(conditions, 1), 0);
    EXPECT_EQ(conditions.precisionCode, 0);

    std::string error;
    ASSERT_TRUE(m_system->PutCondition("JSUIKOUSA", 0, R"({"loop": [3, 6], "roundTrip": [1.5]})", error));
    ASSERT_TRUE(m_system->PutCondition("JSUIJKN", 1, R"({"precision": 4})", error));
    ASSERT_TRUE(table.Read(m_system.get()));
    EXPECT_EQ(table.loop[0], 3);
    EXPECT_EQ(table.loop[1], 6);
    EXPECT_EQ(table.loop[2], 10);   // not given: the default stays
    EXPECT_EQ(table.roundTrip[0], 1.5);
    EXPECT_EQ(VJyoken(m_system.get()).GetSuiJynVur(conditions, 1), 1);
    EXPECT_EQ(conditions.precisionCode, 4);
}

} // namespace
