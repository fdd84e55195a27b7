// The group pane end to end in the main frame: three host files (two unnamed
// groups and "Site", CAD figures of two kinds, an elevation TIN) sent by
// fake-host, then every pane command through the frame's router and every kind of
// tree click with the mouse, with scripted dialogs, colours and boxes. The frame
// and pane are kept as a picture, and the view's pixels show a hidden group gone.
#include "viewer/app/CMainFrame.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ScriptedColorDialogs.h"
#include "viewer/grouppane/CGroupPropDlg.h"
#include "viewer/grouppane/CGroupRenameDlg.h"
#include "viewer/grouppane/CGroupView.h"

#include "outside/CModelDataMng.h"
#include "outside/XTinOption.h"
#include "platform/MemoryProfile.h"
#include "platform/ScriptedMessageBoxes.h"

#include "tests/viewer/render/TestView.h"
#include "tests/viewer/render/ViewTestApp.h"

#include <QApplication>
#include <QDockWidget>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using grouptree::NodeKey;
using grouptree::NodeKind;

namespace {

constexpr unsigned kWholeFromAbove = 32776;
constexpr unsigned kPointsByGroup = 32840;
constexpr COLORREF kMagenta = 0x00FF00FF;

// Test programs live in <build>/tests, programs in <build>/bin.
fs::path BinaryDir() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path(); }

int RunTool(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()); }

// fake-host sends pipe command 1 with the file and waits for the viewer's answer,
// while the UI thread keeps handling the worker's messages. Its exit code, or -1.
int SendFromHost(const fs::path& file)
{
    std::atomic<int> result{-1};
    std::atomic<bool> done{false};
    std::thread host([&] {
        result = RunTool((BinaryDir() / "bin" / "fake-host").string() + " send 1 " + file.string());
        done = true;
    });
    ProcessEventsUntil([&] { return done.load(); });
    host.join();
    return result.load();
}

bool Near(QRgb pixel, COLORREF colour, int tolerance)
{
    return std::abs(qRed(pixel) - int(colour & 0xFF)) <= tolerance &&
           std::abs(qGreen(pixel) - int((colour >> 8) & 0xFF)) <= tolerance &&
           std::abs(qBlue(pixel) - int((colour >> 16) & 0xFF)) <= tolerance;
}

int CountNear(const QImage& image, const QRect& area, COLORREF colour, int tolerance)
{
    int count = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x)
            count += Near(image.pixel(x, y), colour, tolerance);
    return count;
}

// Points in a group's colour are shaded by their own colour, each channel moved
// by the same amount: magenta stays red = blue well above green.
int CountMagentaShades(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qBlue(p)) <= 8 && qRed(p) >= 120 && qRed(p) - qGreen(p) >= 100;
        }
    return count;
}

class GroupPaneRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ScriptedBoxes().Clear();
        m_colours = std::make_shared<ScriptedColorDialogs>();
        m_previousColours = ColorDialogService::Set(m_colours);
        m_work = fs::temp_directory_path() / ("tessara-grouppane-run-" + std::to_string(::getpid()));
        fs::create_directories(m_work);
        m_frame = std::make_unique<CMainFrame>(&m_appCommands);
        ASSERT_TRUE(m_frame->OnCreate());
        CMainFrame::SetMainWindow(m_frame.get());
        m_view = new TestView;
        m_view->Create();
        m_frame->SetView(m_view);
        m_frame->resize(1000, 760);
        m_frame->show();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->IsGlReady() && m_view->sceneFrames > 0; }));
    }
    void TearDown() override
    {
        CMainFrame::SetMainWindow(nullptr);
        m_frame.reset();
        ColorDialogService::Set(m_previousColours);
        std::error_code ignored;
        fs::remove_all(m_work, ignored);
    }

    fs::path HostFile(const std::string& name, const std::string& options)
    {
        const fs::path file = m_work / name;
        EXPECT_EQ(RunTool((BinaryDir() / "bin" / "make-hostfile").string() + " " + options + " " + file.string()), 0);
        return file;
    }
    CGroupView& Pane() { return *m_frame->GroupView(); }
    CModelDataMng& Store() { return m_view->ModelStore(); }
    std::uint64_t GroupKey(int i)
    {
        std::lock_guard lock(m_view->ViewMutex());
        return grouptree::GroupId(*Store().GetGroup(i));
    }
    int FindGroup(std::uint64_t id)
    {
        std::lock_guard lock(m_view->ViewMutex());
        return static_cast<int>(grouptree::FindGroup(Store(), id));
    }
    // Brings the tree up to date as a frame does.
    void RefreshTree()
    {
        std::lock_guard lock(m_view->ViewMutex());
        Pane().RebuildTree(Store());
    }
    QTreeWidgetItem* Item(const NodeKey& key)
    {
        QTreeWidgetItem* item = Pane().ItemOf(key);
        EXPECT_NE(item, nullptr) << static_cast<int>(key.kind);
        return item;
    }
    QRect ItemRect(QTreeWidgetItem* item)
    {
        CViewTree* tree = Pane().Tree();
        tree->scrollToItem(item);
        return tree->visualItemRect(item);
    }
    // The user's mouse on the node's check box; the pane handles it after the
    // signal returns.
    void ClickBox(const NodeKey& key)
    {
        QTreeWidgetItem* item = Item(key);
        ASSERT_NE(item, nullptr);
        CViewTree* tree = Pane().Tree();
        QStyleOptionViewItem option;
        option.initFrom(tree->viewport());
        option.rect = ItemRect(item);
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay |
                          QStyleOptionViewItem::HasDecoration;
        option.decorationSize = tree->iconSize().isValid() ? tree->iconSize() : QSize(16, 16);
        option.showDecorationSelected = false;
        const QRect box = tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
        const Qt::CheckState before = item->checkState(0);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
        QApplication::processEvents();
        ASSERT_NE(item->checkState(0), before) << "the click reached the box";
    }
    // The user's mouse on the node's text: a selection only.
    void ClickLabel(const NodeKey& key)
    {
        QTreeWidgetItem* item = Item(key);
        ASSERT_NE(item, nullptr);
        const QRect rect = ItemRect(item);
        QTest::mouseClick(Pane().Tree()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(rect.left() + 48, rect.center().y()));
        QApplication::processEvents();
        ASSERT_EQ(Pane().Tree()->currentItem(), item);
    }
    // A drawn frame of the view, as on screen (y down).
    QImage ViewPicture()
    {
        const int before = m_view->sceneFrames;
        m_view->InvalidateScene();
        EXPECT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > before; }));
        return m_view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    // Opens the pane's context menu over the selected node and chooses the item of
    // this command with the keyboard.
    void ChooseFromContextMenu(unsigned id)
    {
        bool chosen = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr)
                return;
            for (QAction* action : menu->actions())
                if (action->property("commandId").toUInt() == id && action->isEnabled()) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    chosen = true;
                    return;
                }
            menu->close();
        });
        Pane().ShowContextMenu(Pane().Tree()->viewport()->mapToGlobal(QPoint(20, 20)));
        EXPECT_TRUE(chosen) << id;
    }

    CommandMap m_appCommands;
    std::unique_ptr<CMainFrame> m_frame;
    TestView* m_view = nullptr;  // owned by the frame
    std::shared_ptr<ScriptedColorDialogs> m_colours;
    std::shared_ptr<ColorDialogService> m_previousColours;
    fs::path m_work;
};

} // namespace

TEST_F(GroupPaneRunTest, EveryPaneCommandAndTreeClickEndToEnd)
{
    // Three groups from the host: two unnamed, "Site"; CAD figures of two kinds and
    // an elevation TIN with the first.
    ASSERT_EQ(SendFromHost(HostFile("first.dat", "--points 400 --cad 2 --tin 100")), 0);
    ASSERT_EQ(SendFromHost(HostFile("second.dat", "--points 300")), 0);
    ASSERT_EQ(SendFromHost(HostFile("site.dat", "--points 200 --name Site")), 0);
    ASSERT_EQ(Store().GetGroupCount(), 3);
    // A TIN of the first group's own points.
    {
        std::lock_guard lock(m_view->ViewMutex());
        XTinOption option;
        option.m_nConsiderBreakLineSw = 0;
        option.m_nRemoveExcessiveTriangleSw = 0;
        ASSERT_GT(Store().GetGroup(0)->GenerateMesh(&Store(), &option, 1), 0);
        m_view->InvalidateAllBuffers();
    }
    RefreshTree();
    const std::uint64_t first = GroupKey(0), second = GroupKey(1), site = GroupKey(2);
    const std::string firstTin = Item({NodeKind::GroupTin, first, 0})->text(0).toStdString();
    EXPECT_EQ(Item({NodeKind::Group, first, 0})->text(0).toStdString(), "点群 (点群)");
    EXPECT_EQ(Item({NodeKind::GroupPoints, first, 0})->text(0).toStdString(), "点 (400)");
    EXPECT_EQ(firstTin.rfind("TIN (", 0), 0u);
    EXPECT_EQ(Item({NodeKind::Group, second, 0})->text(0).toStdString(), "点群 2 (点群)");
    EXPECT_EQ(Item({NodeKind::Group, site, 0})->text(0).toStdString(), "Site (点群)");
    EXPECT_EQ(Item({NodeKind::GroupPoints, site, 0})->text(0).toStdString(), "点 (200)");
    EXPECT_EQ(Item({NodeKind::CadRoot, 0, 0})->childCount(), 2) << "figures of two kinds";
    EXPECT_EQ(Item({NodeKind::CloudPoints, 0, 0})->text(0).toStdString(), "点 (100)");

    // The view: points by group colour, the whole scene from above (the view's
    // commands through the same router).
    ASSERT_TRUE(m_frame->RouteCommand(kPointsByGroup));
    ASSERT_TRUE(m_frame->RouteCommand(kWholeFromAbove));
    QDockWidget* dock = m_frame->GroupPane();

    struct Row {
        const char* what;
        std::function<void()> act;
        std::function<void()> check;
    };
    int magentaBefore = 0;
    std::uint64_t copyKey = 0;
    const Row rows[] = {
        {"32831 hides the pane and shows it again",
         [&] { ASSERT_TRUE(m_frame->RouteCommand(grouppane::kShowGroupPane)); },
         [&] {
             EXPECT_FALSE(dock->isVisible());
             ASSERT_TRUE(m_frame->RouteCommand(grouppane::kShowGroupPane));
             EXPECT_TRUE(ProcessEventsUntil([&] { return dock->isVisible(); }));
         }},
        {"a label click selects and fills the panel (35381)", [&] { ClickLabel({NodeKind::Group, site, 0}); },
         [&] {
             EXPECT_EQ(Pane().InfoPanel()->NameText().toStdString(), "Site");
             EXPECT_TRUE(Pane().InfoPanel()->ColourEnabled());
             EXPECT_EQ(Store().GetGroup(2)->m_nShowGroup, 1) << "a label click changes no flag";
         }},
        {"the panel's colour button recolours the selected group (35382)",
         [&] {
             m_colours->QueueAnswer(kMagenta);
             auto* button = Pane().InfoPanel()->findChild<QPushButton*>("groupColour");
             ASSERT_NE(button, nullptr);
             QTest::mouseClick(button, Qt::LeftButton);
         },
         [&] { EXPECT_EQ(Store().GetGroup(2)->m_nColor, kMagenta); }},
        // The three groups' points lie on one lattice: the groups drawn first hide
        // Site's points until they are hidden themselves.
        {"box clicks hide the elevation data, the first group's TIN and the other groups (35014)",
         [&] {
             ClickBox({NodeKind::CloudRoot, 0, 0});
             ClickBox({NodeKind::GroupTin, first, 0});
             ClickBox({NodeKind::Group, first, 0});
             ClickBox({NodeKind::Group, second, 0});
         },
         [&] {
             EXPECT_EQ(Store().m_viewCloud.m_nShowGroup, 0);
             EXPECT_EQ(Store().GetGroup(0)->m_nShowTin, 0);
             EXPECT_EQ(Store().GetGroup(0)->m_nShowGroup, 0);
             EXPECT_EQ(Store().GetGroup(1)->m_nShowGroup, 0);
             const QImage picture = ViewPicture();
             magentaBefore = CountMagentaShades(picture);
             EXPECT_GT(magentaBefore, 10) << "Site's points are drawn";
         }},
        {"clearing Site's box takes its points out of the view", [&] { ClickBox({NodeKind::Group, site, 0}); },
         [&] {
             EXPECT_EQ(Store().GetGroup(2)->m_nShowGroup, 0);
             EXPECT_EQ(CountMagentaShades(ViewPicture()), 0);
         }},
        {"ticking the first group's TIN sets picture mode 4",
         [&] {
             {
                 std::lock_guard lock(m_view->ViewMutex());
                 m_view->Settings().tinPictureMode = 0;
             }
             ClickBox({NodeKind::GroupTin, first, 0});
         },
         [&] {
             EXPECT_EQ(Store().GetGroup(0)->m_nShowTin, 1);
             EXPECT_EQ(Store().GetGroup(0)->m_nShowGroup, 1) << "its group is ticked again";
             EXPECT_EQ(Item({NodeKind::Group, first, 0})->checkState(0), Qt::Checked);
             EXPECT_EQ(m_view->Settings().tinPictureMode, 4);
         }},
        {"35009 shows everything again", [&] { ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupShowAll)); },
         [&] {
             EXPECT_EQ(Store().GetGroup(2)->m_nShowGroup, 1);
             EXPECT_EQ(Store().m_viewCloud.m_nShowGroup, 1);
             EXPECT_EQ(Item({NodeKind::Group, site, 0})->checkState(0), Qt::Checked);
         }},
        {"35010 hides everything", [&] { ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupHideAll)); },
         [&] {
             EXPECT_EQ(Store().m_nShowRoot, 0);
             for (int i = 0; i < 3; ++i)
                 EXPECT_EQ(Store().GetGroup(i)->m_nShowGroup, 0);
             EXPECT_EQ(Item({NodeKind::Root, 0, 0})->checkState(0), Qt::Unchecked);
             ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupShowAll));
             // Site stays selected for the commands that follow.
             ClickLabel({NodeKind::Group, site, 0});
         }},
        {"35008 renames while the host sends another file and gets its answer",
         [&] {
             tessara::ScopedDialogScript dialogs;
             int hostResult = -1;
             dialogs->Answer<CGroupRenameDlg>([&](CGroupRenameDlg::Values& v) {
                 EXPECT_EQ(v.name, "Site");
                 hostResult = SendFromHost(HostFile("extra.dat", "--points 50 --name Extra"));
                 v.name = "Site A";
                 return tessara::IDOK;
             });
             ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupRename));
             EXPECT_EQ(hostResult, 0);
         },
         [&] {
             ASSERT_EQ(Store().GetGroupCount(), 4);
             EXPECT_EQ(Store().GetGroup(3)->m_name, "Extra");
             EXPECT_EQ(Store().GetGroup(FindGroup(site))->m_name, "Site A");
             EXPECT_EQ(Item({NodeKind::Group, site, 0})->text(0).toStdString(), "Site A (点群)");
         }},
        {"35015 from the context menu sets name, remark and colour",
         [&] {
             tessara::ScopedDialogScript dialogs;
             dialogs->Answer<CGroupPropDlg>([&](CGroupPropDlg::Values& v) {
                 EXPECT_EQ(v.colour, kMagenta);
                 v.name = "Site";
                 v.remark = "測量 2026";
                 return tessara::IDOK;
             });
             ChooseFromContextMenu(grouppane::kGroupProperty);
         },
         [&] {
             const CPCloudMng& g = *Store().GetGroup(FindGroup(site));
             EXPECT_EQ(g.m_name, "Site");
             EXPECT_EQ(g.m_memo, "測量 2026");
             EXPECT_EQ(Pane().InfoPanel()->RemarkText().toStdString(), "測量 2026");
         }},
        {"the frame and pane are kept as a picture",
         [&] {
             ClickLabel({NodeKind::Group, site, 0});
             Pane().Tree()->scrollToTop();
             m_view->InvalidateScene();
             QApplication::processEvents();
         },
         [&] {
             const QImage shot = m_frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
             ASSERT_FALSE(shot.isNull());
             const fs::path png = BinaryDir() / "group-pane.png";
             ASSERT_TRUE(shot.save(QString::fromStdString(png.string()), "PNG"));
             // The swatches of the groups not selected, in their colours, in the pane.
             const QRect paneArea(dock->mapTo(m_frame.get(), QPoint(0, 0)), dock->size());
             for (int i : {0, 1}) {
                 const COLORREF colour = Store().GetGroup(i)->m_nColor;
                 EXPECT_GE(CountNear(shot, paneArea, colour, 2), 100) << "the swatch of group " << i;
             }
             EXPECT_EQ(Pane().InfoPanel()->NameText().toStdString(), "Site");
         }},
        {"35011 copies Site after itself and hides the source",
         [&] { ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupCopy)); },
         [&] {
             ASSERT_EQ(Store().GetGroupCount(), 5);
             const int at = FindGroup(site);
             copyKey = GroupKey(at + 1);
             EXPECT_EQ(Store().GetGroup(at + 1)->m_name, "Site(1)");
             EXPECT_EQ(Store().GetGroup(at + 1)->GetCloudPointSize(), 200);
             EXPECT_EQ(Store().GetGroup(at)->m_nShowGroup, 0);
             EXPECT_EQ(Item({NodeKind::Group, site, 0})->checkState(0), Qt::Unchecked);
         }},
        {"35006 deletes the copy after a yes",
         [&] {
             ClickLabel({NodeKind::Group, copyKey, 0});
             ScriptedBoxes().QueueAnswer(tessara::IDYES);
             ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupDelete));
         },
         [&] {
             // The group's points and TIN go; the emptied group has no node left.
             EXPECT_EQ(Store().GetGroup(FindGroup(copyKey))->GetCloudPointSize(), 0);
             EXPECT_EQ(Pane().ItemOf({NodeKind::Group, copyKey, 0}), nullptr);
             EXPECT_EQ(m_frame->MessagePane()->text().toStdString(), grouppane::kDeleteDone);
         }},
        {"35007 deletes everything after two OKs",
         [&] {
             ScriptedBoxes().QueueAnswer(tessara::IDOK);
             ScriptedBoxes().QueueAnswer(tessara::IDOK);
             ASSERT_TRUE(m_frame->RouteCommand(grouppane::kGroupDeleteAll));
         },
         [&] {
             EXPECT_EQ(Store().GetGroupCount(), 0);
             RefreshTree();
             ASSERT_EQ(Pane().Tree()->topLevelItemCount(), 1);
             EXPECT_EQ(Pane().Tree()->topLevelItem(0)->childCount(), 0) << "only the root is left";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        row.act();
        row.check();
    }
}
