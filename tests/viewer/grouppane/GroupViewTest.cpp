#include "viewer/grouppane/CGroupView.h"

#include "viewer/dialogs/DialogRunner.h"
#include "viewer/grouppane/CGroupPropDlg.h"
#include "viewer/grouppane/CGroupRenameDlg.h"

#include "tests/viewer/commands/CommandViewFixture.h"
#include "tests/viewer/grouppane/GroupPaneTestData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/render/CModelViewerView.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QMainWindow>
#include <QLineEdit>

#include <algorithm>
#include <mutex>

using grouptree::NodeKey;
using grouptree::NodeKind;
using namespace grouppanetest;

namespace {

class GroupViewTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        CommandViewTest::SetUp();
        m_pane = std::make_unique<CGroupView>([this]() -> CModelViewerView* { return m_hasView ? &View() : nullptr; }, nullptr);
    }
    void TearDown() override
    {
        m_pane.reset();
        CommandViewTest::TearDown();
    }
    void Rebuild()
    {
        std::unique_lock lock(View().ViewMutex());
        m_pane->RebuildTree(View().ModelStore());
    }
    std::uint64_t GroupKey(int i) { return grouptree::GroupId(*View().ModelStore().GetGroup(i)); }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
            texts.push_back(item->text(0).toStdString());
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i));
        };
        for (int i = 0; i < m_pane->Tree()->topLevelItemCount(); ++i)
            walk(m_pane->Tree()->topLevelItem(i));
        return texts;
    }
    // A user's click on the node's box.
    void Click(const NodeKey& key)
    {
        QTreeWidgetItem* item = m_pane->ItemOf(key);
        ASSERT_NE(item, nullptr);
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        QCoreApplication::processEvents();  // the posted handling
    }

    bool m_hasView = true;
    std::unique_ptr<CGroupView> m_pane;
};

} // namespace

TEST_F(GroupViewTest, EmptyStoreShowsTheRootOnly)
{
    Rebuild();
    EXPECT_EQ(Texts(), std::vector<std::string>{"3Dデータ"});
    EXPECT_EQ(m_pane->Tree()->topLevelItem(0)->checkState(0), Qt::Checked);
}

TEST_F(GroupViewTest, AnUnchangedRebuildKeepsItemsTextsAndExpansion)
{
    FillScene(View().ModelStore());
    AddGroup(View().ModelStore(), "", 4);
    Rebuild();
    const std::vector<std::string> texts = Texts();
    EXPECT_EQ(texts[1], "Site (点群)");
    QTreeWidgetItem* group = m_pane->ItemOf(NodeKey{NodeKind::Group, GroupKey(0), 0});
    ASSERT_NE(group, nullptr);
    group->setExpanded(false);
    Rebuild();
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::Group, GroupKey(0), 0}), group);
    EXPECT_FALSE(group->isExpanded());
    EXPECT_EQ(Texts(), texts);
    // A count that changes re-texts its node only.
    AddPoints(*View().ModelStore().GetGroup(0), 1000);
    Rebuild();
    EXPECT_EQ(group->child(0)->text(0).toStdString(), "点 (1,003)");
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::Group, GroupKey(0), 0}), group);
}

TEST_F(GroupViewTest, ClicksChangeFlagsAndModesWithoutReentry)
{
    CModelDataMng& store = View().ModelStore();
    FillScene(store);
    Rebuild();
    View().Settings().tinPictureMode = 0;
    View().m_pointColourMode = 0;
    const NodeKey group{NodeKind::Group, GroupKey(0), 0};
    Click(group);
    EXPECT_EQ(store.GetGroup(0)->m_nShowGroup, 0);
    Click(NodeKey{NodeKind::GroupTin, GroupKey(0), 0});  // off
    EXPECT_EQ(store.GetGroup(0)->m_nShowTin, 0);
    Click(NodeKey{NodeKind::GroupTin, GroupKey(0), 0});  // on again: group re-checked, picture mode 4
    EXPECT_EQ(store.GetGroup(0)->m_nShowTin, 1);
    EXPECT_EQ(store.GetGroup(0)->m_nShowGroup, 1);
    EXPECT_EQ(m_pane->ItemOf(group)->checkState(0), Qt::Checked);
    EXPECT_EQ(View().Settings().tinPictureMode, 4);
    Click(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0});
    Click(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0});
    EXPECT_EQ(View().m_pointColourMode, 1);
    // Show and hide all, the flags of every node.
    m_pane->OnCommand(grouppane::kGroupHideAll);
    EXPECT_EQ(store.m_nShowRoot, 0);
    EXPECT_EQ(store.m_nShowCAD, 0);
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::CloudPoints, 0, 0})->checkState(0), Qt::Unchecked);
    m_pane->OnCommand(grouppane::kGroupShowAll);
    EXPECT_EQ(store.GetGroup(0)->m_nShowPCloud, 1);
    EXPECT_EQ(m_pane->ItemOf(group)->checkState(0), Qt::Checked);
}

TEST_F(GroupViewTest, SelectionFillsThePanelAndDrivesUpdateUi)
{
    CModelDataMng& store = View().ModelStore();
    CPCloudMng& g = FillScene(store);
    g.m_memo = "memo";
    Rebuild();
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupDelete), false);
    m_pane->SelectNode(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0});
    EXPECT_EQ(m_pane->InfoPanel()->NameText().toStdString(), "Site");
    EXPECT_EQ(m_pane->InfoPanel()->RemarkText().toStdString(), "memo");
    EXPECT_EQ(m_pane->InfoPanel()->ElementText().toStdString(), "点 (3)");
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupDelete), true);
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupCopy), false);
    m_pane->SelectNode(NodeKey{NodeKind::Group, GroupKey(0), 0});
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupCopy), true);
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupRename), true);
    EXPECT_EQ(m_pane->InfoPanel()->ElementText().toStdString(), "");
    m_pane->SelectNode(NodeKey{NodeKind::CadRoot, 0, 0});
    EXPECT_FALSE(m_pane->InfoPanel()->ColourEnabled());
    EXPECT_EQ(m_pane->InfoPanel()->NameText().toStdString(), "");
    EXPECT_EQ(m_pane->IsCommandEnabled(grouppane::kGroupProperty), false);
    EXPECT_EQ(m_pane->IsCommandEnabled(1), std::nullopt);
}

TEST_F(GroupViewTest, DeleteAsksThenEmptiesTheNodeData)
{
    CModelDataMng& store = View().ModelStore();
    FillScene(store);
    Rebuild();
    m_pane->SelectNode(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0});
    Boxes().QueueAnswer(tessara::IDNO);
    m_pane->OnCommand(grouppane::kGroupDelete);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 3);
    m_pane->SelectNode(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0});
    Boxes().QueueAnswer(tessara::IDYES);
    m_pane->OnCommand(grouppane::kGroupDelete);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 0);
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::GroupPoints, GroupKey(0), 0}), nullptr);
    EXPECT_NE(m_pane->ItemOf(NodeKey{NodeKind::GroupTin, GroupKey(0), 0}), nullptr);
}

TEST_F(GroupViewTest, CopyPutsTheCopyAfterTheSourceAndClearsItsBox)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "Site", 5);
    AddGroup(store, "site(1)", 2);
    Rebuild();
    m_pane->SelectNode(NodeKey{NodeKind::Group, GroupKey(0), 0});
    m_pane->OnCommand(grouppane::kGroupCopy);
    ASSERT_EQ(store.GetGroupCount(), 3);
    EXPECT_EQ(store.GetGroup(1)->m_name, "Site(2)");
    const std::vector<std::string> expected{"3Dデータ", "Site (点群)", "点 (5)", "Site(2) (点群)", "点 (5)", "site(1) (点群)", "点 (2)"};
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::Group, GroupKey(0), 0})->checkState(0), Qt::Unchecked);
}

TEST_F(GroupViewTest, WithoutAViewOrWithTheGroupGoneNothingHappens)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "Site", 5);
    Rebuild();
    const NodeKey group{NodeKind::Group, GroupKey(0), 0};
    m_pane->SelectNode(group);
    m_hasView = false;
    m_pane->OnCommand(grouppane::kGroupCopy);
    m_pane->OnCommand(grouppane::kGroupHideAll);
    Click(group);
    EXPECT_EQ(store.GetGroupCount(), 1);
    EXPECT_EQ(store.GetGroup(0)->m_nShowGroup, 1);
    m_hasView = true;
    // The group goes between the click and its handling: no dead item is reached.
    {
        std::unique_lock lock(View().ViewMutex());
        store.m_groups.clear();
    }
    Click(group);
    EXPECT_EQ(Texts(), std::vector<std::string>{"3Dデータ"});
    m_pane->OnCommand(grouppane::kGroupCopy);
    EXPECT_EQ(store.GetGroupCount(), 0);
}

TEST_F(GroupViewTest, RenameAndPropertiesApplyCheckedValuesUnderTheLock)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "", 2);
    AddGroup(store, "", 2);
    Rebuild();  // SurfLook, SurfLook 2
    m_pane->SelectNode(NodeKey{NodeKind::Group, GroupKey(0), 0});
    struct Case {
        std::string typed;
        std::string stored;  // "" when refused
        bool refused;
    } cases[] = {
        {"SurfLook 2", "SurfLook", true},
        {"SurfLook", "SurfLook", false},  // its own name
        {"%s%n", "%s%n", false},
        {std::string(300, 'a'), std::string(260, 'a'), false},
        {std::string(259, 'b') + "亜", std::string(259, 'b'), false},
    };
    for (const auto& c : cases) {
        tessara::ScopedDialogScript dialogs;
        std::string shown;
        dialogs->Answer<CGroupRenameDlg>([&](CGroupRenameDlg::Values& v) {
            shown = v.name;
            v.name = c.typed;
            return tessara::IDOK;
        });
        const std::size_t boxesBefore = Boxes().ShownBoxes().size();
        m_pane->OnCommand(grouppane::kGroupRename);
        if (c.refused) {
            ASSERT_EQ(Boxes().ShownBoxes().size(), boxesBefore + 1);
            EXPECT_EQ(Boxes().ShownBoxes().back().text, "\"SurfLook 2\" は既に存在しています。");
        }
        EXPECT_EQ(store.GetGroup(0)->m_name, c.stored) << c.typed;
        EXPECT_EQ(store.GetGroup(0)->m_nNameNumber, 0);
    }
    // Properties: remark cut, colour kept.
    tessara::ScopedDialogScript dialogs;
    dialogs->Answer<CGroupPropDlg>([&](CGroupPropDlg::Values& v) {
        EXPECT_EQ(v.name, std::string(259, 'b'));
        v.name = "Site";
        v.remark = "memo";
        v.colour = 0x123456;
        return tessara::IDOK;
    });
    View().BuffersState().recolourRequested = 0;
    m_pane->OnCommand(grouppane::kGroupProperty);
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 1) << "the drawn points take the new colour";
    EXPECT_EQ(store.GetGroup(0)->m_name, "Site");
    EXPECT_EQ(store.GetGroup(0)->m_memo, "memo");
    EXPECT_EQ(store.GetGroup(0)->m_nColor, 0x123456u);
    EXPECT_EQ(m_pane->InfoPanel()->NameText().toStdString(), "Site");
}

TEST_F(GroupViewTest, AGroupRemovedWhileItsDialogIsOpenIsLeftAlone)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "Site", 2);
    Rebuild();
    m_pane->SelectNode(NodeKey{NodeKind::Group, GroupKey(0), 0});
    tessara::ScopedDialogScript dialogs;
    dialogs->Answer<CGroupRenameDlg>([&](CGroupRenameDlg::Values& v) {
        // The lock is free while the dialog is open: another edit gets it.
        std::unique_lock lock(View().ViewMutex(), std::try_to_lock);
        EXPECT_TRUE(lock.owns_lock());
        store.m_groups.clear();
        AddGroup(store, "Other", 1);
        v.name = "New";
        return tessara::IDOK;
    });
    m_pane->OnCommand(grouppane::kGroupRename);
    EXPECT_EQ(store.GetGroup(0)->m_name, "Other");
}

TEST_F(GroupViewTest, DialogsRefuseBadNamesAndStayOpen)
{
    CGroupRenameDlg rename(nullptr);
    rename.SetValues({"SurfLook", {"Other"}});
    QLineEdit* edit = rename.findChild<QLineEdit*>("35101");
    ASSERT_NE(edit, nullptr);
    struct Case {
        QString typed;
        std::string box;  // "" accepted
    } cases[] = {
        {"Other", "\"Other\" は既に存在しています。"},
        {"   ", "グループ名を入力してください。"},
        {"%s%n", ""},
    };
    for (const auto& c : cases) {
        edit->setText(c.typed);
        rename.setResult(0);
        const std::size_t before = Boxes().ShownBoxes().size();
        rename.accept();
        if (c.box.empty()) {
            EXPECT_EQ(rename.result(), QDialog::Accepted);
            EXPECT_EQ(rename.GetValues().name, c.typed.toStdString());
        } else {
            ASSERT_EQ(Boxes().ShownBoxes().size(), before + 1);
            EXPECT_EQ(Boxes().ShownBoxes().back().text, c.box);
            EXPECT_NE(rename.result(), QDialog::Accepted);
        }
    }
    // A character outside CP932 never enters the edit.
    int pos = 0;
    QString text = QString::fromUtf8("a\xF0\x9F\x98\x80");
    EXPECT_EQ(edit->validator()->validate(text, pos), QValidator::Invalid);

    CGroupPropDlg props(nullptr);
    props.SetValues({"Site", "", 0xFF, {}});
    props.findChild<QLineEdit*>("35387")->setText(QString::fromStdString(std::string(254, 'm') + "漢"));
    props.accept();
    EXPECT_EQ(props.GetValues().remark, std::string(254, 'm'));
    EXPECT_EQ(props.GetValues().colour, 0xFFu);
}

TEST_F(GroupViewTest, RecolouringWritesTheSelectedGroupsColour)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "Site", 2);
    AddGroup(store, "Other", 2);
    Rebuild();
    m_pane->OnGroupColorChanged(0x00FF00);  // nothing selected
    EXPECT_NE(store.GetGroup(0)->m_nColor, 0x00FF00u);
    m_pane->SelectNode(NodeKey{NodeKind::GroupPoints, GroupKey(1), 0});
    View().BuffersState().recolourRequested = 0;
    m_pane->OnGroupColorChanged(0x00FF00);
    EXPECT_EQ(store.GetGroup(1)->m_nColor, 0x00FF00u);
    EXPECT_EQ(View().BuffersState().recolourRequested.load(), 1) << "the drawn points take the new colour";
    EXPECT_NE(store.GetGroup(0)->m_nColor, 0x00FF00u);
}

TEST_F(GroupViewTest, HidingTheLastShownTinClosesTheSlopeLegend)
{
    CModelDataMng& store = View().ModelStore();
    AddGroup(store, "Site", 3, 2);
    Rebuild();
    View().Settings().tinPictureMode = 2;
    int closes = 0;
    auto previous = ShellHooks::Instance().closeSlopeLegend;
    ShellHooks::Instance().closeSlopeLegend = [&] {
        ++closes;
        return true;
    };
    m_pane->OnCommand(grouppane::kGroupShowAll);
    EXPECT_EQ(closes, 0);  // slopes on a shown TIN
    Click(NodeKey{NodeKind::GroupTin, GroupKey(0), 0});
    // The pane closes it; the legends' own refresh may close it again.
    EXPECT_GE(closes, 1);
    ShellHooks::Instance().closeSlopeLegend = previous;
}

TEST_F(GroupViewTest, HidingACadTypeDropsTheCadSelectionOnlyWhenItHoldsThatType)
{
    CModelDataMng& store = View().ModelStore();
    AddFigures(store, 12, 2);
    AddFigures(store, 15, 1);
    Rebuild();
    View().BuffersState().selectedCadElements = {2};  // the circle
    Click(NodeKey{NodeKind::CadType, 0, store.FindCadLayer(12)});
    EXPECT_EQ(View().BuffersState().selectedCadElements.size(), 1u);
    Click(NodeKey{NodeKind::CadType, 0, store.FindCadLayer(15)});
    EXPECT_TRUE(View().BuffersState().selectedCadElements.empty());
}

// Deleting the root node is deleting everything, with that command's two
// questions: a cancel at either keeps the data.
TEST_F(GroupViewTest, DeletingTheRootAsksTwiceThenEmptiesTheScene)
{
    CModelDataMng& store = View().ModelStore();
    FillScene(store);
    Rebuild();
    struct Case {
        std::vector<int> answers;
        std::size_t questions;
        bool emptied;
    } cases[] = {
        {{tessara::IDCANCEL}, 1, false},
        {{tessara::IDOK, tessara::IDCANCEL}, 2, false},
        {{tessara::IDOK, tessara::IDOK}, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers.size() * 10 + c.emptied);
        m_pane->SelectNode(NodeKey{NodeKind::Root, 0, 0});
        const std::size_t before = Boxes().ShownBoxes().size();
        for (int answer : c.answers)
            Boxes().QueueAnswer(answer);
        m_pane->OnCommand(grouppane::kGroupDelete);
        ASSERT_EQ(Boxes().ShownBoxes().size(), before + c.questions);
        EXPECT_EQ(store.GetGroupCount() == 0 && store.m_elmList.empty(), c.emptied);
    }
    Rebuild();
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::CadRoot, 0, 0}), nullptr);
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::CloudRoot, 0, 0}), nullptr);
    EXPECT_EQ(m_pane->ItemOf(NodeKey{NodeKind::PartRoot, 0, 0}), nullptr);
}

// Show all and hide all reach the boxes and flags inside collapsed branches, and
// leave the branches as the user folded them.
TEST_F(GroupViewTest, ShowAndHideAllReachCollapsedBranches)
{
    CModelDataMng& store = View().ModelStore();
    FillScene(store);
    AddGroup(store, "Other", 4, 1);
    Rebuild();
    const NodeKey otherTin{NodeKind::GroupTin, GroupKey(1), 0};
    QTreeWidgetItem* other = m_pane->ItemOf(NodeKey{NodeKind::Group, GroupKey(1), 0});
    QTreeWidgetItem* cad = m_pane->ItemOf(NodeKey{NodeKind::CadRoot, 0, 0});
    ASSERT_TRUE(other != nullptr && cad != nullptr);
    other->setExpanded(false);
    cad->setExpanded(false);
    for (unsigned id : {grouppane::kGroupHideAll, grouppane::kGroupShowAll}) {
        const bool shown = id == grouppane::kGroupShowAll;
        m_pane->OnCommand(id);
        EXPECT_EQ(store.GetGroup(1)->m_nShowTin, shown ? 1 : 0);
        EXPECT_EQ(store.GetGroup(1)->m_nShowGroup, shown ? 1 : 0);
        EXPECT_EQ(store.m_nShowCAD, shown ? 1 : 0);
        EXPECT_EQ(m_pane->ItemOf(otherTin)->checkState(0), shown ? Qt::Checked : Qt::Unchecked);
        for (int i = 0; i < cad->childCount(); ++i)
            EXPECT_EQ(cad->child(i)->checkState(0), shown ? Qt::Checked : Qt::Unchecked) << i;
        EXPECT_FALSE(other->isExpanded());
        EXPECT_FALSE(cad->isExpanded());
    }
}

TEST_F(GroupViewTest, ALongGroupNameIsCutInThePaneAndNeverWidensTheWindow)
{
    std::string longName;
    for (int i = 0; i < 8; ++i)
        longName += "北側法面_測量点群_";
    CModelDataMng& store = View().ModelStore();
    FillScene(store);
    const std::uint64_t longGroup = grouptree::GroupId(AddGroup(store, longName, 4));

    // The pane docked beside a central widget, as the main frame holds it.
    QMainWindow frame;
    auto* dock = new QDockWidget("グループ一覧", &frame);
    auto* pane = new CGroupView([this]() -> CModelViewerView* { return &View(); }, dock);
    pane->setMinimumWidth(200);
    dock->setWidget(pane);
    frame.setCentralWidget(new QWidget(&frame));
    frame.addDockWidget(Qt::LeftDockWidgetArea, dock);
    frame.resize(800, 600);
    frame.show();
    const auto settle = [] {
        for (int i = 0; i < 4; ++i)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    {
        std::unique_lock lock(View().ViewMutex());
        pane->RebuildTree(store);
    }
    settle();
    const int frameWidth = frame.width();
    const int paneWidth = dock->width();

    pane->SelectNode(NodeKey{NodeKind::Group, longGroup, 0});
    settle();
    EXPECT_EQ(pane->InfoPanel()->NameText().toStdString(), longName);
    EXPECT_EQ(frame.width(), frameWidth);
    EXPECT_EQ(dock->width(), paneWidth);
    EXPECT_LE(frame.minimumSizeHint().width(), frameWidth);
    const auto labels = pane->InfoPanel()->findChildren<CElidedLabel*>();
    const auto name = std::find_if(labels.begin(), labels.end(), [&](const CElidedLabel* l) {
        return l->FullText().toStdString() == longName;
    });
    ASSERT_NE(name, labels.end());
    EXPECT_EQ((*name)->toolTip().toStdString(), longName);
    EXPECT_TRUE((*name)->text().endsWith(QChar(0x2026))) << (*name)->text().toStdString();
    EXPECT_LE((*name)->fontMetrics().horizontalAdvance((*name)->text()), (*name)->contentsRect().width());
    QTreeWidgetItem* item = pane->ItemOf(NodeKey{NodeKind::Group, longGroup, 0});
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->toolTip(0), item->text(0));

    // Another group: nothing jumps.
    pane->SelectNode(NodeKey{NodeKind::Group, GroupKey(0), 0});
    settle();
    EXPECT_EQ(frame.width(), frameWidth);
    EXPECT_EQ(dock->width(), paneWidth);
    EXPECT_EQ(pane->InfoPanel()->NameText().toStdString(), "Site");
}
