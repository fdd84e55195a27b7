#include "HostTestSupport.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVApp.h"
#include "hostfw/GridTypes.h"
#include "hostfw/Tab04827Data.h"
#include "plugins/common/CellCodes.h"
#include "plugins/common/XSvyPartVSheetBase.h"

namespace {

using namespace plugcommon;

// Text item 0 locks while the switch (field 0 of F03) is automatic.
class LockSheet : public XSvyPartVSheetBase {
public:
    bool IsCellLocked(int, DWORD code) override
    {
        PartRecord f03;
        return code == TextCellCode(0) && GetPartData()->GetRecord("F03", 0, f03) && f03.Short(0) == 0;
    }
    DWORD FillComboList(DWORD code) override
    {
        if (code != TextCellCode(0))
            return code;
        GetGrid()->GetDropDownListBox()->AddString("候補");
        return 0;
    }
};

using SheetLockTest = HostTest;

TEST_F(SheetLockTest, ALockedCellIsGreyEmptyReadOnlyAndOffersNoList)
{
    WriteFile("p/s.vst", "kind plain\nrow 要求(自動/手入力)\tF03\t0\t01C4046E\tswitch\n"
                         "row 要求\tF03\t1\t0FFF0D0C\tlist\n");
    PeldaGetApp().SetPluginDataDir(Root() / "p");
    Tab04827Data data;
    PartRecord f03 = data.NewRecord("F03");
    f03.SetText(1, "保存された文");
    data.Put_F03(f03);
    LockSheet sheet;
    ASSERT_TRUE(sheet.LoadTemplate("s.vst"));
    sheet.Init(nullptr, &data, 4);

    EXPECT_TRUE(sheet.IsCellReadOnly(1, 1));
    EXPECT_EQ(sheet.DisplayText(1, 1), "");
    EXPECT_EQ(sheet.BackgroundColour(1, 1), kColorLocked);
    EXPECT_TRUE(sheet.CellListEntries(1, 1).empty());
    EXPECT_FALSE(sheet.EditCellText(1, 1, "x"));

    ASSERT_TRUE(sheet.EditCellList(0, 1, 1));   // switch to manual
    EXPECT_FALSE(sheet.IsCellReadOnly(1, 1));
    EXPECT_EQ(sheet.DisplayText(1, 1), "保存された文") << "the stored text shows again";
    EXPECT_EQ(sheet.CellListEntries(1, 1), std::vector<std::string>{"候補"});
    EXPECT_EQ(sheet.BackgroundColour(1, 1), kColorDefault);
}

} // namespace
