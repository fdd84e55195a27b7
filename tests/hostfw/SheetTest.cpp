#include "HostTestSupport.h"

#include "hostfw/CVApp.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/Tab04827Data.h"
#include "hostfw/VstTemplate.h"

namespace {

using SheetTest = HostTest;

constexpr const char* kHeader = "kind plain\n"
                                "row 製品名\tF1\t0\t0FFF0D0C\ttext\n"
                                "row 座標系\tF1\t4\t01C40362\tnumber\n"
                                "row 位置要求\tF03\t0\t01C4046E\tswitch\n";

class Sheet : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        WriteFile("plugins/h.vst", kHeader);
        PeldaGetApp().SetPluginDataDir(Root() / "plugins");
        m_owned = std::make_unique<CSvyPartVSheet>();   // needs the application made in SetUp
        ASSERT_TRUE(m_sheet().LoadTemplate("h.vst")) << m_sheet().LastError();
        m_sheet().Init(nullptr, &m_data, 0);
    }
    void TearDown() override
    {
        m_owned.reset();
        SheetTest::TearDown();
    }
    CSvyPartVSheet& m_sheet() { return *m_owned; }
    Tab04827Data m_data;
    std::unique_ptr<CSvyPartVSheet> m_owned;
};

TEST_F(Sheet, RefusesTextsOver254Cp932BytesOrOutsideCp932WithAMessage)
{
    const std::string fits = std::string(252, 'a') + "亜";           // 254 bytes in CP932
    EXPECT_TRUE(m_sheet().EditCellText(0, 1, fits));
    EXPECT_EQ(m_sheet().DisplayText(0, 1), fits);
    const auto before = Messages().size();
    EXPECT_FALSE(m_sheet().EditCellText(0, 1, fits + "a"));
    EXPECT_FALSE(m_sheet().EditCellText(0, 1, "\xF0\x9F\x98\x80"));   // not in CP932
    EXPECT_EQ(Messages().size(), before + 2);
    EXPECT_EQ(m_sheet().DisplayText(0, 1), fits) << "never cut, never turned into ?";
}

TEST_F(Sheet, NumbersAndSwitchesGoIntoTheirFields)
{
    EXPECT_TRUE(m_sheet().EditCellText(1, 1, "9"));
    EXPECT_FALSE(m_sheet().EditCellText(1, 1, "x9"));
    EXPECT_FALSE(m_sheet().EditCellText(1, 1, "70000"));
    PartRecord f1;
    ASSERT_TRUE(m_data.Get_F1(f1));
    EXPECT_EQ(f1.Short(4), 9);
    EXPECT_EQ(m_sheet().CellListEntries(2, 1), (std::vector<std::string>{"自動", "手入力"}));
    EXPECT_TRUE(m_sheet().EditCellList(2, 1, 1));
    PartRecord f03;
    ASSERT_TRUE(m_data.Get_F03(f03));
    EXPECT_EQ(f03.Short(0), 1);
    EXPECT_EQ(m_sheet().DisplayText(2, 1), "手入力");
    EXPECT_TRUE(m_sheet().IsCellReadOnly(0, 0)) << "the label column";
}

TEST_F(Sheet, NextEditableCellSkipsLabelsAndEndsAtTheGridsEnd)
{
    int row = 0;
    int col = 0;
    ASSERT_TRUE(m_sheet().GetNextEditCell(row, col));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 1);
    ASSERT_TRUE(m_sheet().GetNextEditCell(row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    row = 2;
    col = 1;
    EXPECT_FALSE(m_sheet().GetNextEditCell(row, col));
    m_sheet().MoveRepCell(1, 1);
    EXPECT_EQ(m_sheet().CurrentCell().code, 0x01C40362u);
}

struct BadTemplate {
    const char* name;
    const char* text;
};

class BadTemplateTest : public ::testing::TestWithParam<BadTemplate> {};

TEST_P(BadTemplateTest, IsRefusedWithTheLine)
{
    VstTemplate form;
    std::string error;
    EXPECT_FALSE(form.Parse(GetParam().text, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BadTemplateTest,
                         ::testing::Values(BadTemplate{"no_kind", "row a\tF1\t0\t1\ttext\n"},
                                           BadTemplate{"bad_code", "kind plain\nrow a\tF1\t0\tzz\ttext\n"},
                                           BadTemplate{"bad_editor", "kind plain\nrow a\tF1\t0\t1\tcombo\n"},
                                           BadTemplate{"col_in_plain", "kind plain\ncol a\tF1\t0\t1\ttext\n"},
                                           BadTemplate{"short_line", "kind list\ncol a\tF1\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
