#include "DialogTestSupport.h"

#include "platform/MessageBox.h"
#include "platform/UiMessageTarget.h"
#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CCustomDblEdit.h"
#include "viewer/dialogs/CCustomIntEdit.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/dialogs/CEXColorCtr.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/CInOutXYZVurDlg.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/dialogs/CNumericDoubleEditEx.h"
#include "viewer/dialogs/ColorRef.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DanmenConfDlg.h"
#include "viewer/dialogs/DialogHooks.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/DstConfDlg.h"
#include "viewer/dialogs/FileSimpleDlg.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/dialogs/VurTinToElmDlg.h"
#include "viewer/files/ExportHooks.h"
#include "viewer/render/ShellHooks.h"
#include "viewer/render/ViewSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class ScriptedBoxes {
public:
    ScriptedBoxes() : m_previous(tessara::SetMessageBoxService(boxes)) {}
    ~ScriptedBoxes() { tessara::SetMessageBoxService(m_previous); }
    std::shared_ptr<tessara::ScriptedMessageBoxes> boxes = std::make_shared<tessara::ScriptedMessageBoxes>();

private:
    std::shared_ptr<tessara::MessageBoxService> m_previous;
};

TEST(FileSimpleDlg, ListsModelFilesAndRefusesAnEmptiedName)
{
    DialogTestApp();
    const auto folder = std::filesystem::path(::testing::TempDir()) / "file-simple-dlg";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "b.tpf");
    std::ofstream(folder / "a.tpf") << "x";
    std::ofstream(folder / "A.TPF") << "x";
    ScriptedBoxes boxes;
    FileSimpleDlg dlg(nullptr);
    dlg.SetValues({folder.string() + "/", "tpf", {}});
    auto* list = Id<QTreeWidget>(dlg, 22011);
    auto* name = Id<QLineEdit>(dlg, 22010);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "A");
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(name->text(), "a");
    name->clear();
    dlg.OnSelect();
    ASSERT_EQ(boxes.boxes->Count(), 1u);
    EXPECT_EQ(boxes.boxes->ShownBoxes()[0].text, "ファイル名が指定されていません。");
    EXPECT_EQ(boxes.boxes->ShownBoxes()[0].caption, "制限");
    EXPECT_EQ(dlg.result(), 0);
    // A typed name with no file is told as such, and the dialog stays open.
    name->setText("typed");
    dlg.OnSelect();
    ASSERT_EQ(boxes.boxes->Count(), 2u);
    EXPECT_EQ(boxes.boxes->ShownBoxes()[1].text, "ファイルが見つかりません。\n" + folder.string() + "/typed.tpf");
    EXPECT_EQ(dlg.result(), 0);
    // The listed "A" is the file A.TPF, not a missing A.tpf.
    list->setCurrentItem(list->topLevelItem(0));
    dlg.OnSelect();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetValues().result, folder.string() + "/A.TPF");
    std::filesystem::remove_all(folder);
}

TEST(FileSimpleDlg, ShownListGivesTheNamesTheRoomAndJapaneseDatesUnderTheCallersCaption)
{
    DialogTestApp();
    const auto folder = std::filesystem::path(::testing::TempDir()) / "file-simple-dlg-shown";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string longName = "測量現場_2026年度_第3工区_点群データ_最終版";
    std::ofstream(folder / (longName + ".tpf")) << "x";
    FileSimpleDlg dlg(nullptr);
    dlg.SetValues({folder.string() + "/", "tpf", {}, "データの呼び出し"});
    EXPECT_EQ(dlg.windowTitle(), "データの呼び出し");
    ASSERT_TRUE(TakeFocus(dlg));
    auto* list = Id<QTreeWidget>(dlg, 22011);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    // The name column takes what the time column leaves of the list.
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    EXPECT_GE(list->columnWidth(0), list->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    const QString time = list->topLevelItem(0)->text(1);
    EXPECT_TRUE(time.contains(u'年') && time.contains(u'月') && time.contains(u'日')) << time.toStdString();
    dlg.resize(dlg.width() + 120, dlg.height());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    std::filesystem::remove_all(folder);
}

TEST(InOutXyzDlg, ShowsTheStoredScaleAndAxisOrder)
{
    DialogTestApp();
    CInOutXYZVurDlg dlg(nullptr);
    dlg.SetValues({3, false, "/work/out.csv"});
    EXPECT_EQ(Id<QComboBox>(dlg, 321)->currentText(), "1/10倍");
    EXPECT_TRUE(Id<QRadioButton>(dlg, 323)->isChecked());
    dlg.SetValues({12, true, "/work/out.csv"});
    EXPECT_EQ(dlg.GetValues().scaleIndex, 0);
    EXPECT_TRUE(dlg.GetValues().axisXyz);
}

TEST(ViewSettingsDlg, ShowsTheRecordAndEnterNeverCloses)
{
    DialogTestApp();
    CGlviewrVurDlg dlg(nullptr);
    CGlviewrVurDlg::Values v;
    v.settings.colourBrightness = 25;
    v.settings.background = 7;
    v.settings.tinOption.m_nConsiderBreakLineSw = 0;
    v.settings.splitBreakLines = 1;
    int applied = 0;
    short appliedBackground = -1;
    v.applyNow = [&](const ViewSettings& s) {
        ++applied;
        appliedBackground = s.background;
    };
    dlg.SetValues(v);
    ASSERT_TRUE(TakeFocus(dlg));
    EXPECT_EQ(Id<QLabel>(dlg, 35374)->text(), "+25");
    EXPECT_TRUE(Id<QRadioButton>(dlg, 32962)->isChecked());
    EXPECT_FALSE(Id<QCheckBox>(dlg, 32956)->isVisible());
    EXPECT_FALSE(Id<QCheckBox>(dlg, 32956)->isEnabled());
    EXPECT_FALSE(Id<QWidget>(dlg, 32957)->isEnabled());

    auto* pointSize = Id<QComboBox>(dlg, 32905);
    pointSize->setFocus(Qt::TabFocusReason);
    QTest::keyClick(pointSize, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(pointSize->hasFocus());

    auto* apply = Id<QPushButton>(dlg, 35375);
    apply->setFocus(Qt::TabFocusReason);
    QTest::keyClick(apply, Qt::Key_Return);
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(appliedBackground, 2);
    EXPECT_TRUE(dlg.isVisible());

    Id<QPushButton>(dlg, 32927)->click();
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(dlg.GetValues().settings.colourBrightness, 0);
    EXPECT_EQ(Id<QLabel>(dlg, 35374)->text(), "0");
}

TEST(GridDlg, StepsStayInRangeAndOkTakesTheFocusedEdit)
{
    DialogTestApp();
    VurGridDlg dlg(nullptr);
    dlg.SetValues({1, {99.95, 99.9, 3.0}});
    ASSERT_TRUE(TakeFocus(dlg));
    EXPECT_FALSE(Id<CCustomDblEdit>(dlg, 22003)->isEnabled());
    EXPECT_FALSE(Id<ArrowPair>(dlg, 22006)->isEnabled());
    QTest::mouseClick(Id<ArrowPair>(dlg, 22004)->Up(), Qt::LeftButton);
    EXPECT_EQ(Id<CCustomDblEdit>(dlg, 22001)->text(), "99.95");
    QTest::mouseClick(Id<ArrowPair>(dlg, 22005)->Up(), Qt::LeftButton);
    EXPECT_EQ(Id<CCustomDblEdit>(dlg, 22002)->text(), "100.00");

    auto* lx = Id<CCustomDblEdit>(dlg, 22001);
    lx->setFocus(Qt::TabFocusReason);
    lx->selectAll();
    QTest::keyClicks(lx, "0");
    QTest::keyClick(lx, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(lx->hasFocus());
    EXPECT_EQ(lx->text(), "99.95");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(lx->hasFocus());

    lx->selectAll();
    QTest::keyClicks(lx, "2.5");
    Id<QPushButton>(dlg, 1)->click();  // a click that does not take the focus
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    const auto out = dlg.GetValues();
    EXPECT_EQ(out.cellM[0], 2.5);
    EXPECT_EQ(out.cellM[2], 3.0);  // LZ of a height kind passes through
}

TEST(FilterDlgs, DefaultsThenCancelLeaveTheValues)
{
    DialogTestApp();
    VurRadiusDlg::Values values{3.0, 7};
    QTimer::singleShot(0, [] {
        auto* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        ControlIds::Find<QPushButton>(dlg, 32927)->click();
        EXPECT_EQ(ControlIds::Find<CCustomIntEdit>(dlg, 22002)->Value(), 2);
        ControlIds::Find<QPushButton>(dlg, 2)->click();
    });
    EXPECT_EQ(tessara::RunDialog<VurRadiusDlg>(nullptr, values), tessara::IDCANCEL);
    EXPECT_EQ(values.radiusM, 3.0);
    EXPECT_EQ(values.minimumPoints, 7);
}

TEST(FilterDlgs, CountStopsAtItsEnds)
{
    DialogTestApp();
    VurRadiusDlg dlg(nullptr);
    dlg.SetValues({0.8, 100});
    ASSERT_TRUE(TakeFocus(dlg));
    QTest::mouseClick(Id<ArrowPair>(dlg, 22005)->Up(), Qt::LeftButton);
    EXPECT_EQ(Id<CCustomIntEdit>(dlg, 22002)->Value(), 100);
    dlg.SetValues({0.8, 1});
    QTest::mouseClick(Id<ArrowPair>(dlg, 22005)->Down(), Qt::LeftButton);
    EXPECT_EQ(Id<CCustomIntEdit>(dlg, 22002)->Value(), 1);
}

TEST(TinDlgs, EnablingAndPassThroughOfDisabledOptions)
{
    DialogTestApp();
    MakeTinDlg dlg(nullptr);
    ViewSettings s;
    s.tinOption.m_nConsiderBreakLineSw = 0;
    s.splitBreakLines = 1;
    s.flattenParallelBreakLines = 1;
    s.parallelDistanceM = 12.0;
    dlg.SetValues(MakeTinDlg::Values::FromSettings(s, "点群からTINを作成します 処理を実行しますか？"));
    for (int id : {32956, 32958, 32957, 32959, 32917})
        EXPECT_FALSE(Id<QWidget>(dlg, id)->isEnabled()) << id;
    Id<QPushButton>(dlg, 1)->click();
    ViewSettings out;
    dlg.GetValues().ToSettings(out);
    EXPECT_EQ(out.splitBreakLines, 1);
    EXPECT_EQ(out.flattenParallelBreakLines, 1);
    EXPECT_EQ(out.parallelDistanceM, 12.0);

    VurTinToElmDlg toCad(nullptr);
    toCad.SetValues({5});
    EXPECT_TRUE(Id<QRadioButton>(toCad, 32939)->isChecked());
    Id<QPushButton>(toCad, 1)->click();
    EXPECT_EQ(toCad.GetValues().kind, 1);
}

TEST(DialogHooks, TinToCadChoiceRunsItsDialogOnTheStoredKind)
{
    InstallDialogHooks();
    tessara::ScopedDialogScript script;
    script->Answer<VurTinToElmDlg>([](VurTinToElmDlg::Values& v) {
        EXPECT_EQ(v.kind, 1);  // a stored 5 shows the points
        return tessara::IDOK;
    });
    int kind = 5;
    ASSERT_TRUE(ShellHooks::Instance().chooseTinToCadKind);
    EXPECT_TRUE(ShellHooks::Instance().chooseTinToCadKind(nullptr, kind));
    EXPECT_EQ(kind, 1);
    script->Answer<VurTinToElmDlg>([](VurTinToElmDlg::Values& v) {
        v.kind = 0;
        return tessara::IDCANCEL;
    });
    EXPECT_FALSE(ShellHooks::Instance().chooseTinToCadKind(nullptr, kind));
    EXPECT_EQ(kind, 1);
    RemoveDialogHooks();
    EXPECT_FALSE(ShellHooks::Instance().chooseTinToCadKind);
}

TEST(DialogHooks, TheFileDispatcherOpensTheFileListAndTheCommaOptions)
{
    InstallDialogHooks();
    tessara::ScopedDialogScript script;
    script->Answer<FileSimpleDlg>([](FileSimpleDlg::Values& v) {
        EXPECT_EQ(v.folder, "/work/");
        EXPECT_EQ(v.extension, "tpf");
        EXPECT_EQ(v.title, "データの呼び出し");
        v.result = "/work/site.tpf";
        return tessara::IDOK;
    });
    script->Answer<CInOutXYZVurDlg>([](CInOutXYZVurDlg::Values& v) {
        EXPECT_EQ(v.scaleIndex, 2);
        EXPECT_TRUE(v.axisXyz);
        v.scaleIndex = 3;
        v.axisXyz = false;
        return tessara::IDOK;
    });
    ExportHooks& hooks = TheExportHooks();
    EXPECT_EQ(hooks.chooseFile("/work/", "tpf", "データの呼び出し"), std::optional<std::string>("/work/site.tpf"));
    int scale = 2, axis = 1;
    EXPECT_TRUE(hooks.commaTextOptions(scale, axis, "/work/a.xyz"));
    EXPECT_EQ(scale, 3);
    EXPECT_EQ(axis, 0);
    // No view to take the picture from: the bitmap save fails.
    EXPECT_FALSE(hooks.writeBitmap("/work/a.bmp"));
    RemoveDialogHooks();
    // Back to the unattended answers.
    EXPECT_FALSE(TheExportHooks().chooseFile("/work/", "tpf", ""));
}

struct RecordedMessages {
    std::vector<unsigned> ids;
    tessara::UiMessageTarget target{[this](unsigned m, std::uintptr_t, std::intptr_t) {
        ids.push_back(m);
        return std::intptr_t{0};
    }};
};

TEST(DeleteDlg, AllDisablesTheRangeAndOkPostsApplyBeforeClosed)
{
    DialogTestApp();
    QWidget view;
    view.resize(600, 400);
    ViewSettings s;
    s.elevationBound1 = 1.5;
    RecordedMessages messages;
    auto* dlg = new CDeleteDlg(&s, &view, &messages.target);
    for (int id : {32932, 32933, 32934, 32935, 32936, 32937})
        EXPECT_FALSE(Id<QWidget>(*dlg, id)->isEnabled()) << id;
    ASSERT_TRUE(TakeFocus(*dlg));
    Id<QRadioButton>(*dlg, 32931)->click();
    EXPECT_TRUE(Id<QWidget>(*dlg, 32934)->isEnabled());
    auto* lower = Id<CNumericDoubleEdit>(*dlg, 32934);
    lower->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(dlg->SetPickedElevation(1e-16));
    EXPECT_TRUE(dlg->SetPickedElevation(-12345.0));   // out of range: kept
    EXPECT_EQ(lower->text(), "1.5000");
    EXPECT_TRUE(dlg->SetPickedElevation(42.25));
    EXPECT_EQ(lower->text(), "42.2500");
    QTest::keyClick(lower, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    Id<QPushButton>(*dlg, 1)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.ids.size() >= 2; }, 60000));
    EXPECT_EQ(messages.ids, (std::vector<unsigned>{0x469, 0x46A}));
    EXPECT_EQ(s.deleteMode, 2);
    EXPECT_EQ(s.elevationBound1, 42.25);
    delete dlg;
}

TEST(DeleteDlg, EscapeActsAsCancelAndWritesNothing)
{
    DialogTestApp();
    QWidget view;
    ViewSettings s;
    RecordedMessages messages;
    CDeleteDlg dlg(&s, &view, &messages.target);
    ASSERT_TRUE(TakeFocus(dlg));
    Id<QRadioButton>(dlg, 32930)->click();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.ids.empty(); }, 60000));
    dlg.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.ids, (std::vector<unsigned>{0x46A}));
    EXPECT_EQ(s.deleteMode, 0);
}

TEST(DanmenConfDlg, RedrawsOncePerChangeAndNeverForRefusedOrDroppedText)
{
    DialogTestApp();
    QWidget view;
    view.resize(500, 400);
    ViewSettings s;
    int redraws = 0;
    auto* dlg = new DanmenConfDlg(&s, &view, [&] { ++redraws; });
    dlg->show();
    ASSERT_TRUE(TakeFocus(view));
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->pos(), QPoint(0, 0));
    auto* spacing = Id<CNumericDoubleEditEx>(*dlg, 35393);
    spacing->setFocus(Qt::TabFocusReason);
    spacing->selectAll();
    QTest::keyClicks(spacing, "20");
    QTest::keyClick(spacing, Qt::Key_Return);
    EXPECT_EQ(spacing->text(), "0.30");
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(Id<QCheckBox>(*dlg, 35390)->hasFocus());

    spacing->setFocus(Qt::TabFocusReason);
    spacing->selectAll();
    QTest::keyClicks(spacing, "5");
    QTest::keyClick(spacing, Qt::Key_Escape);
    EXPECT_EQ(spacing->text(), "0.30");
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(view.isVisible());

    spacing->setFocus(Qt::TabFocusReason);
    spacing->selectAll();
    QTest::keyClicks(spacing, "1.5");
    QTest::keyClick(spacing, Qt::Key_Return);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(s.sectionPointSpacingM, 1.5);

    auto* up = Id<ArrowPair>(*dlg, 35394)->Up();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(redraws, 4);
    EXPECT_DOUBLE_EQ(s.sectionDirectionToleranceM, 0.5);

    Id<QCheckBox>(*dlg, 35391)->click();
    EXPECT_EQ(redraws, 5);
    QTest::keyClick(dlg, Qt::Key_Escape);  // only the tool ends the dialog
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(s.sectionThroughPoints, 0);
    delete dlg;
}

TEST(DstConfDlg, ClicksStoreTheSwitches)
{
    DialogTestApp();
    QWidget view;
    ViewSettings s;
    DstConfDlg dlg(&s, &view);
    Id<QCheckBox>(dlg, 35354)->click();
    EXPECT_EQ(s.showSlopeDistance, 0);
    EXPECT_EQ(s.showPlaneDistance, 1);
}

TEST(ColourSamples, SwatchAndTextPlaces)
{
    DialogTestApp();
    const COLORREF colour = ColorRef::Rgb(5, 120, 255);
    EXPECT_EQ(CEXColorCtr::ValueText(colour), ":  5,120,255");
    CEXColorCtr sample;
    sample.SetColor(colour);
    sample.resize(160, 12);
    const QImage image = sample.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 6), QColor(5, 120, 255));
    // 36 wide, 32 after the inset: columns 2..33, framed in black.
    EXPECT_EQ(image.pixelColor(32, 6), QColor(5, 120, 255));
    EXPECT_EQ(image.pixelColor(33, 6), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(35, 6), QColor(5, 120, 255));
    CColorButton button;
    button.SetColor(colour);
    button.resize(40, 20);
    EXPECT_EQ(button.grab().toImage().pixelColor(20, 10), QColor(5, 120, 255));
}

} // namespace
