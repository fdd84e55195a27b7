#include "HostTestSupport.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CTab00519DB.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/Tab04827Data.h"
#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"
#include "hostfw/ctrlpoint/Tab00452Data.h"
#include "hostfw/ctrlpoint/Yatyo_Nt.h"

#include <sqlite3.h>

namespace {

using PartSystemTest = HostTest;

std::unique_ptr<PartSystem> Create(const std::filesystem::path& file)
{
    std::string error;
    auto system = PartSystem::Open(file, true, error);
    EXPECT_TRUE(system) << error;
    return system;
}

TEST_F(PartSystemTest, StoresPartsFieldByFieldAndReadsThemBack)
{
    auto system = Create(Root() / "ps.db");
    Tab00519Data data(PartData(519, 7));
    data.SetName("基準点");
    data.SetReportNoName(3, "報告");
    PartRecord f1(*Tab00519Data::Records().ByName("F1"));
    f1.SetText(0, "製品①");
    f1.SetShort(8, 3);
    data.Put_F1(f1);
    PartRecord row(*Tab00519Data::Records().ByName("R4"));
    row.SetDword(0, 0xFFFFFFF0u);
    row.SetDword(1, 12);
    data.Put_R4(0, row);
    data.Put_R4(1, row);
    std::string error;
    ASSERT_TRUE(system->StorePart(data, error)) << error;

    Tab00519Data back;
    CTab00519DB db(system.get());
    ASSERT_TRUE(db.Get(7, back, 0));
    PartRecord read;
    ASSERT_TRUE(back.Get_F1(read));
    EXPECT_EQ(read.Text(0), "製品①");
    EXPECT_EQ(read.Short(8), 3);
    EXPECT_EQ(back.Get_R4Cnt(), 2);
    ASSERT_TRUE(back.Get_R4(1, read));
    EXPECT_EQ(read.Dword(0), 0xFFFFFFF0u);
    EXPECT_EQ(back.Srch_R4(0xFFFFFFF0u), 0);
    EXPECT_EQ(back.GetReportNoName(3), "報告");
    EXPECT_FALSE(back.Get_FR1(read)) << "a record never stored does not read";
    EXPECT_EQ(read.FieldCount(), 2u) << "and comes back cleared to its layout";
}

TEST_F(PartSystemTest, ClearTypeDataEmptiesTheListOfThatNumber)
{
    Tab00519Data data;
    PartRecord row(*Tab00519Data::Records().ByName("R3"));
    row.SetDword(0, 5);
    data.Put_R3(0, row);
    data.ClearTypeData(10);
    EXPECT_EQ(data.Get_R3Cnt(), 0);
}

TEST_F(PartSystemTest, RefusesCorruptNewerOrMissingFilesAndLeavesThemUntouched)
{
    std::string error;
    EXPECT_FALSE(PartSystem::Open(Root() / "missing.db", false, error));
    EXPECT_FALSE(error.empty());

    const auto garbage = WriteFile("garbage.db", std::string(4096, 'x'));
    error.clear();
    EXPECT_FALSE(PartSystem::Open(garbage, true, error));
    EXPECT_NE(error.find("壊れています"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(garbage), std::string(4096, 'x'));

    const auto newer = Root() / "newer.db";
    Create(newer).reset();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(newer.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "UPDATE meta SET value = '99' WHERE key = 'schema'", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    error.clear();
    EXPECT_FALSE(PartSystem::Open(newer, false, error));
    EXPECT_NE(error.find("新しい版"), std::string::npos) << error;
}

TEST_F(PartSystemTest, RecordWalkVisitsEachPartOfTheProgramAndEndsAtMinusOne)
{
    auto system = Create(Root() / "ps.db");
    std::string error;
    for (DWORD address : {3u, 1u, 9u})
        ASSERT_TRUE(system->StorePart(PartData(4827, address), error));
    ASSERT_TRUE(system->StorePart(PartData(519, 5), error));
    ASSERT_TRUE(system->SetProgramName(4827, "GNSS品質評価表", error));

    CPartDB db(system.get(), 4827);
    std::vector<long> walked;
    for (long rec = db.GetTopRecNo(); rec != -1; rec = db.GetNextRecNo(rec))
        walked.push_back(rec);
    EXPECT_EQ(walked, (std::vector<long>{1, 3, 9}));
    EXPECT_EQ(db.GetActiveRecNum(), 3);
    EXPECT_EQ(db.GetBeforeRecNo(1), -1);
    EXPECT_EQ(db.GetLastRecNo(), 9);
    PartData other;
    EXPECT_FALSE(db.Get(5, &other, 0)) << "a part of another program";

    std::string name;
    EXPECT_TRUE(PartDB_GetPrgName(system.get(), 4827, name));
    EXPECT_EQ(name, "GNSS品質評価表");
    EXPECT_FALSE(PartDB_GetPrgName(system.get(), 1, name));
}

TEST_F(PartSystemTest, PartsSwitchedOffAreWalkedButNotActive)
{
    auto system = Create(Root() / "ps.db");
    std::string error;
    for (DWORD address : {1u, 2u, 3u, 4u}) {
        PartData part(4735, address);
        part.SetActive(address % 2 == 0);
        ASSERT_TRUE(system->StorePart(part, error)) << error;
    }
    CPartDB db(system.get(), 4735);
    std::vector<long> walked;
    std::vector<int> active;
    for (long rec = db.GetTopRecNo(); rec != -1; rec = db.GetNextRecNo(rec)) {
        walked.push_back(rec);
        active.push_back(db.IsActive(rec));
    }
    EXPECT_EQ(walked, (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(active, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(db.GetActiveRecNum(), 2);
    EXPECT_EQ(db.IsActive(99), 0) << "no such part";
    EXPECT_FALSE(system->IsPartActive(3));
    EXPECT_TRUE(system->IsPartActive(4));

    // Switching a part on through the database is seen by its walk at once.
    PartData part;
    ASSERT_TRUE(db.Get(3, &part, 0));
    part.SetActive(true);
    ASSERT_TRUE(db.Put(part));
    EXPECT_EQ(db.IsActive(3), 1);
    EXPECT_EQ(db.GetActiveRecNum(), 3);
}

TEST_F(PartSystemTest, StationSearchSkipsFieldBooksSwitchedOff)
{
    auto system = Create(Root() / "ps.db");
    std::string error;
    // Two books of station 7: the first, switched off, would win the search.
    for (DWORD address : {1u, 2u}) {
        Tab00452Data book(PartData(Tab00452Data::kProgramNo, address));
        PartRecord header;
        header.SetLong(0, 7);
        book.PutRecord(ctrlsib::kRecKs, 0, header);
        book.SetActive(address == 2);
        ASSERT_TRUE(system->StorePart(book, error)) << error;
    }
    Tab00452Data found;
    ASSERT_EQ(Yatyo_Nt::SearchPart(7, system.get(), found), 1);
    EXPECT_EQ(found.GetAddress(), 2u);
}

TEST_F(PartSystemTest, NewPartGetsTheNextFreeAddress)
{
    auto system = Create(Root() / "ps.db");
    std::string error;
    ASSERT_TRUE(system->StorePart(PartData(4827, 4), error));
    CPartDB db(system.get(), 4827);
    Tab04827Data fresh;
    ASSERT_TRUE(db.Put(fresh));
    EXPECT_EQ(fresh.GetAddress(), 5u);
    EXPECT_EQ(db.GetNextRecNo(4), 5);
}

TEST(PartRecordTest, TextsOver254Cp932BytesAreCutOnACharacterBoundary)
{
    PartRecord record;
    EXPECT_TRUE(record.SetText(0, std::string(254, 'a')));
    EXPECT_FALSE(record.SetText(0, std::string(253, 'a') + "亜"));
    EXPECT_EQ(record.Text(0), std::string(253, 'a'));
    record.SetLong(1, 70000);
    EXPECT_EQ(record.Short(1), 32767) << "shorts saturate";
}

} // namespace
