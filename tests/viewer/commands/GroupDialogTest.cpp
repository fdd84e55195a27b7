#include "CommandViewFixture.h"

#include "platform/ScriptedMessageBoxes.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/CEditPCloudGroupDlg.h"
#include "viewer/dialogs/DialogRunner.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr unsigned kRegisterAsGroup = 32835;

using GroupDialogTest = CommandViewTest;

CEditPCloudGroupDlg::Values TwoListed()
{
    CEditPCloudGroupDlg::Values v;
    v.allDisplayNames = {"a", "b 2", "hidden"};
    v.listed = {{"a", "memo a", 0x0000FF}, {"b 2", "memo b", 0x00FF00}};
    v.newGroupColour = 0x123456;
    return v;
}

template <class T>
T* Control(QWidget& dlg, const char* id)
{
    return dlg.findChild<T*>(id);
}

} // namespace

TEST_F(GroupDialogTest, ExistingNeedsTwoListedGroupsAndASelection)
{
    {
        CEditPCloudGroupDlg dlg(nullptr);
        auto v = TwoListed();
        v.listed.pop_back();
        v.preferNewGroup = 0;
        dlg.SetValues(v);
        EXPECT_FALSE(Control<QRadioButton>(dlg, "35202")->isEnabled());
        EXPECT_TRUE(Control<QRadioButton>(dlg, "35201")->isChecked());
    }
    CEditPCloudGroupDlg dlg(nullptr);
    auto v = TwoListed();
    v.preferNewGroup = 0;
    dlg.SetValues(v);
    EXPECT_TRUE(Control<QRadioButton>(dlg, "35202")->isChecked());
    // No entry chosen yet: OK cannot place the points anywhere.
    EXPECT_FALSE(Control<QPushButton>(dlg, "1")->isEnabled());
    Control<QListWidget>(dlg, "35203")->setCurrentRow(1);
    EXPECT_TRUE(Control<QPushButton>(dlg, "1")->isEnabled());
    EXPECT_EQ(Control<QLineEdit>(dlg, "35383")->text().toStdString(), "memo b");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const auto out = dlg.GetValues();
    EXPECT_EQ(out.newGroup, 0);
    EXPECT_EQ(out.listIndex, 1);
    EXPECT_EQ(out.colour, 0x00FF00u);
}

TEST_F(GroupDialogTest, ADuplicateOrEmptyNameKeepsTheDialogOpen)
{
    CEditPCloudGroupDlg dlg(nullptr);
    dlg.SetValues(TwoListed());
    auto* name = Control<QLineEdit>(dlg, "35204");
    name->setText("b 2");
    dlg.accept();
    name->setText("   ");
    dlg.accept();
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(Boxes().ShownBoxes().size(), 2u);
    EXPECT_EQ(Boxes().ShownBoxes()[0].text, "\"b 2\" は既に存在しています。");
    EXPECT_EQ(Boxes().ShownBoxes()[1].text, "新規グループ名を入力してください。");
    name->setText(" new ");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetValues().name, "new");
    EXPECT_EQ(dlg.GetValues().colour, 0x123456u);
}

TEST_F(GroupDialogTest, TheCommandMovesTheSelectionIntoANewGroup)
{
    auto source = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 4; ++i)
        source->AddCloudPoint(static_cast<float>(i), 0.0f, 1.0f, 0, 0.0);
    source->CreateGrid();
    source->m_name = "site";
    View().ModelStore().AddGroup(std::move(source));
    View().BuffersState().pickBuckets = {SelPCloud{0, {0, 2}}};

    tessara::ScopedDialogScript dialogs;
    AnswerUnlocked<CEditPCloudGroupDlg>(*dialogs, View(), [](CEditPCloudGroupDlg::Values& v) {
        EXPECT_EQ(v.allDisplayNames, (std::vector<std::string>{"site"}));
        v.newGroup = 1;
        v.name = "kerb";
        v.memo = "north side";
        v.colour = 0x00AA00;
        return tessara::IDOK;
    });
    Run(kRegisterAsGroup);

    CModelDataMng& store = View().ModelStore();
    ASSERT_EQ(store.GetGroupCount(), 2);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 2);
    const CPCloudMng& added = *store.GetGroup(1);
    EXPECT_EQ(added.m_name, "kerb");
    EXPECT_EQ(added.m_memo, "north side");
    EXPECT_EQ(added.GetCloudPointSize(), 2);
    EXPECT_TRUE(View().BuffersState().pickBuckets.empty());
    EXPECT_EQ(View().m_newGroupOnRegister, 1);
    EXPECT_TRUE(View().CanUndo());
}
