#include "HostTestSupport.h"

#include "hostfw/EraCalendar.h"
#include "hostfw/VCabinetDocExDLL.h"
#include "hostfw/VCabinetDocTable.h"

namespace {

using BinderTest = HostTest;

TEST_F(BinderTest, DocumentsByNameWithInfoAndAttributes)
{
    VCabinetDocExDLL binder(998);
    ASSERT_TRUE(binder.Create(998)) << binder.LastError();
    VCabinetDocTable* table = binder.GetDocTable();
    ASSERT_TRUE(table);
    CABINFO info;
    info.systemNo = std::int64_t{997};
    EXPECT_FALSE(table->SetCabInfo(info)) << "only the binder's system number";
    info.systemNo = std::int64_t{998};
    EXPECT_TRUE(table->SetCabInfo(info));

    EXPECT_TRUE(std::holds_alternative<std::monostate>(table->FindDocument(998, "GPSHYO.CSV")));
    const FieldValue id = table->NewDocument("GPSHYO.CSV", 998, std::int64_t{0}, std::int64_t{0});
    ASSERT_TRUE(std::holds_alternative<std::int64_t>(id));
    EXPECT_EQ(table->FindDocument(998, "GPSHYO.CSV"), id);
    EXPECT_TRUE(table->SetInfo(id, INFO{"一", "二"}));
    INFO back;
    ASSERT_TRUE(table->GetInfo(id, back));
    EXPECT_EQ(back.text2, "二");
    EXPECT_TRUE(VDocTable::SetSname(*table, id, {"a", "b"}));
    EXPECT_TRUE(VDocTable::SetCalsUpDate(*table, id, 1));
    EXPECT_EQ(table->GetAttributes(id), (std::vector<std::string>{"a", "b"}));
    std::string path;
    ASSERT_TRUE(table->GetDataFilePath(id, path));
    EXPECT_EQ(path, (Root() / "binder" / "files" / "GPSHYO.CSV").string());
    EXPECT_TRUE(table->RemoveDocument(id));
    EXPECT_EQ(table->DocumentCount(), 0);
    EXPECT_EQ(V_GetFileName("/a/b\\c.csv"), "c.csv");
}

struct EraCase {
    int year, month, kind, eraYear;
};

class EraCalendarTest : public ::testing::TestWithParam<EraCase> {};

TEST_P(EraCalendarTest, ChangeAdToGengo)
{
    int kind = -1;
    int eraYear = -1;
    const EraCase c = GetParam();
    EXPECT_EQ(ChangeAdToGengo(c.year, c.month, kind, eraYear), c.kind ? 1 : 0);
    EXPECT_EQ(kind, c.kind);
    EXPECT_EQ(eraYear, c.eraYear);
}

INSTANTIATE_TEST_SUITE_P(Cases, EraCalendarTest,
                         ::testing::Values(EraCase{1867, 12, 0, 0}, EraCase{1989, 1, 4, 1},
                                           EraCase{2019, 4, 4, 31}, EraCase{2019, 5, 5, 1},
                                           EraCase{2024, 3, 5, 6}));

} // namespace
