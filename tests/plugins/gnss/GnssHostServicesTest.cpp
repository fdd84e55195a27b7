#include "GnssSeed.h"

#include "hostfw/gnss/GnssCheckFiles.h"
#include "hostfw/gnss/GnssRecordDb.h"
#include "hostfw/gnss/GnssRounding.h"
#include "hostfw/gnss/GnssWorkTable.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "hostfw/gnss/StrList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct RoundCase {
    double value;
    int decimals;
    double expected;
};
class HalfUpRounding : public ::testing::TestWithParam<RoundCase> {};
TEST_P(HalfUpRounding, OnTheMagnitudeOfTheDecimalValue)
{
    EXPECT_EQ(CmpMaru(GetParam().value, GetParam().decimals, 0), GetParam().expected);
    EXPECT_EQ(Round(GetParam().value, GetParam().decimals, 5), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, HalfUpRounding, ::testing::Values(
    RoundCase{0.0145, 3, 0.015}, RoundCase{-0.0125, 3, -0.013}, RoundCase{14.5, 0, 15.0},
    RoundCase{1.25, 1, 1.3}, RoundCase{0.00044, 3, 0.0}));

TEST(GnssRounding, PointNumbersCompareByValue)
{
    EXPECT_LT(CmpTeno("P2", "P10"), 0);
    EXPECT_GT(CmpTeno("P10", "P9"), 0);
    EXPECT_EQ(CmpTeno("007", "7"), 0);
    EXPECT_LT(CmpTeno("A1", "B1"), 0);
}

TEST(GnssRounding, HeigoRotatesToTheLocalFrame)
{
    // A position in Japan; the ellipsoid normal there is pure "up", the meridian
    // direction pure "north".
    const double lat = 35.6 * M_PI / 180.0;
    const double lon = 139.7 * M_PI / 180.0;
    const double a = 6378137.0;
    const double e2 = (1.0 / 298.257222101) * (2.0 - 1.0 / 298.257222101);
    const double n = a / std::sqrt(1.0 - e2 * std::sin(lat) * std::sin(lat));
    const double h = 40.0;
    const double p[3] = {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
                         (n * (1.0 - e2) + h) * std::sin(lat)};
    const double up[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    double dN = 0, dE = 0, dU = 0;
    CmpHeigo(p, up, dN, dE, dU);
    EXPECT_NEAR(dN, 0.0, 1e-9);
    EXPECT_NEAR(dE, 0.0, 1e-9);
    EXPECT_NEAR(dU, 1.0, 1e-9);
    const double north[3] = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    CmpHeigo(p, north, dN, dE, dU);
    EXPECT_NEAR(dN, 1.0, 1e-9);
    EXPECT_NEAR(dU, 0.0, 1e-9);
}

class GnssFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("gnss-files-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path p = m_dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    fs::path m_dir;
};

TEST_F(GnssFilesTest, CheckFileRecords)
{
    std::vector<KzdtChkRecord> known;
    EXPECT_EQ(ReadKzdtChk((m_dir / "missing.DAT").string(), known), CheckFileStatus::Ok);
    EXPECT_TRUE(known.empty());
    const std::string record = std::string("K1") + std::string(14, ' ') + "         40.1234" + std::string(14, ' ') + "\r\n";
    ASSERT_EQ(record.size(), 48u);
    EXPECT_EQ(ReadKzdtChk(Write("k.DAT", record + record), known), CheckFileStatus::Ok);
    ASSERT_EQ(known.size(), 2u);
    EXPECT_EQ(known[0].name, "K1");
    EXPECT_DOUBLE_EQ(known[0].knownHeight, 40.1234);
    EXPECT_EQ(ReadKzdtChk(Write("cut.DAT", record + record.substr(0, 20)), known), CheckFileStatus::Truncated);
    std::string bad = record;
    bad[20] = 'x';
    EXPECT_EQ(ReadKzdtChk(Write("bad.DAT", bad), known), CheckFileStatus::BadRecord);
    std::vector<ShenChkRecord> results;
    EXPECT_EQ(ReadShenChk(Write("s.DAT", std::string("K1") + std::string(14, ' ') + " 0\r\n"), results),
              CheckFileStatus::Ok);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].result, 0);
}

TEST_F(GnssFilesTest, WorkKindListEntriesAreTwentyFiveBytes)
{
    StrList list;
    EXPECT_FALSE(list.Load((m_dir / "none.dat").string()));
    const std::string entry1 = "\x90\x85\x8F\x80\x91\xAA\x97\xCA" + std::string(15, ' ') + "\r\n";   // 水準測量
    const std::string entry0 = std::string(23, ' ') + "\r\n";
    ASSERT_TRUE(list.Load(Write("List.dat", entry0 + entry1 + "short")));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Get(1), "水準測量");
    EXPECT_EQ(list.Get(0), "");
    EXPECT_EQ(list.Get(2), "");
    EXPECT_EQ(list.Get(-1), "");
}

TEST(GnssWorkTable, AtMostOneHundredEntries)
{
    mod04827::test::GnssSeed seed;
    QJsonArray works;
    for (int i = 1; i <= 150; ++i) works.append(QJsonObject{{"no", i}, {"kind", 3}, {"condition", 1}});
    seed.Condition("GnssWorkTable", 0, QJsonObject{{"current", 120}, {"works", works}});
    std::string error;
    PartSystem* system = seed.Apply(error);
    ASSERT_TRUE(system) << error;
    std::vector<WorkTbl> table;
    EXPECT_EQ(GetDefWork(system, table), 100);
    WorkTbl entry;
    EXPECT_TRUE(FindWork(system, 100, entry));
    EXPECT_FALSE(FindWork(system, 120, entry));   // beyond the table's 100 entries
    EXPECT_EQ(GetCurrentWorkNo(system), 120);
}

TEST(GnssRecordDb, WalksTheBaselineKey)
{
    mod04827::test::GnssSeed seed;
    QJsonArray baselines;
    for (int i = 0; i < 3; ++i) baselines.append(QJsonObject{{"class", i}, {"from", "A"}, {"to", "B"}});
    seed.Condition("GnssRecords", 1, QJsonObject{{"baselines", baselines}});
    std::string error;
    PartSystem* system = seed.Apply(error);
    ASSERT_TRUE(system) << error;
    GnssRecordDb db;
    ASSERT_EQ(db.d_open(1, system), 0);
    int count = 0;
    GnssRecordDb::BaselineRecord r;
    for (int rc = db.d_keyfrst(GnssRecordDb::kBaselineKey); rc == 0; rc = db.d_keynext(GnssRecordDb::kBaselineKey)) {
        ASSERT_EQ(db.d_recread(r), 0);
        EXPECT_EQ(r.recordClass, count++);
    }
    EXPECT_EQ(count, 3);
    EXPECT_EQ(db.d_keyfrst(2000), -1);
    db.d_close();
    EXPECT_EQ(db.d_open(2, system), 0);   // a work without records: empty
    EXPECT_EQ(db.d_keyfrst(GnssRecordDb::kBaselineKey), -1);
}

TEST(KjnXyda_Nt, FreshObjectsReadTheCurrentZone)
{
    const int before = KjnXyda_Nt::CurrentZone();
    KjnXyda_Nt::SetCurrentZone(12);
    EXPECT_EQ(KjnXyda_Nt().GetZno() & 0xFF, 12);
    KjnXyda_Nt::SetCurrentZone(before);
}

}  // namespace
