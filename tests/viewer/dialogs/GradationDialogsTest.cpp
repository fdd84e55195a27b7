#include "DialogTestSupport.h"

#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "viewer/dialogs/ArrowPair.h"
#include "viewer/dialogs/CColorAddDlg.h"
#include "viewer/dialogs/CColorButton.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CExColorListCtrl.h"
#include "viewer/dialogs/CInputEdit.h"
#include "viewer/dialogs/CNumericIntEdit.h"
#include "viewer/dialogs/CSettingRegisterDlg.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/QtColorDialogService.h"
#include "viewer/dialogs/ScriptedColorDialogs.h"
#include "viewer/dialogs/VurTinToElmDlg.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class GradationDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        DialogTestApp();
        m_previousBoxes = tessara::SetMessageBoxService(boxes);
        m_previousColours = ColorDialogService::Set(colours);
        values.store.AddSetting("mine", {{255, 0xFFFFFF}, {200, 0x0000FF}, {128, 0x00FF00}, {0, 0x000000}});
        values.profile = &profile;
    }
    void TearDown() override
    {
        tessara::SetMessageBoxService(m_previousBoxes);
        ColorDialogService::Set(m_previousColours);
    }
    //! The dialog on the user setting "mine", shown with the focus.
    bool ShowOnUserSetting(CColorSettingDlg& dlg)
    {
        values.store.m_nCurIndex = 3;
        dlg.SetValues(values);
        return TakeFocus(dlg);
    }
    std::vector<int> Levels(const CColorSettingDlg& dlg) const
    {
        std::vector<int> levels;
        const auto store = dlg.GetValues().store;
        for (const auto& stop : store.m_settings[store.m_nCurIndex].stops)
            levels.push_back(stop.level);
        return levels;
    }

    std::shared_ptr<tessara::ScriptedMessageBoxes> boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
    std::shared_ptr<ScriptedColorDialogs> colours = std::make_shared<ScriptedColorDialogs>();
    tessara::MemoryProfile profile;
    CColorSettingDlg::Values values;

private:
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
    std::shared_ptr<ColorDialogService> m_previousColours;
};

TEST_F(GradationDialogs, BuiltInSettingShowsADisabledListAndRegistersAnEditableCopy)
{
    values.store.m_nCurIndex = 0;
    values.store.m_nCurId = values.store.m_settings[0].id;
    CColorSettingDlg dlg(nullptr);
    dlg.SetValues(values);
    EXPECT_FALSE(Id<CExColorListCtrl>(dlg, 35360)->isEnabled());
    EXPECT_FALSE(Id<QPushButton>(dlg, 35359)->isEnabled());
    EXPECT_FALSE(Id<QPushButton>(dlg, 35361)->isEnabled());
    EXPECT_FALSE(Id<QPushButton>(dlg, 35362)->isEnabled());

    tessara::ScopedDialogScript script;
    script->Answer<CSettingRegisterDlg>([](CSettingRegisterDlg::Values& v) {
        v.name = "copy";
        return tessara::IDOK;
    });
    Id<QPushButton>(dlg, 35358)->click();
    auto* combo = Id<QComboBox>(dlg, 35357);
    EXPECT_EQ(combo->currentText(), "copy");
    EXPECT_EQ(combo->currentData().toInt(), 5);
    EXPECT_TRUE(Id<CExColorListCtrl>(dlg, 35360)->isEnabled());
}

TEST_F(GradationDialogs, TypedDigitStartsTheEditorAndEnterRelevels)
{
    CColorSettingDlg dlg(nullptr);
    ASSERT_TRUE(ShowOnUserSetting(dlg));
    auto* list = Id<CExColorListCtrl>(dlg, 35360);
    list->SelectRow(1);
    list->setFocus();
    EXPECT_TRUE(Id<QPushButton>(dlg, 35362)->isEnabled());
    QTest::keyClick(list, Qt::Key_1);
    auto* input = Id<CInputEdit>(dlg, 35370);
    ASSERT_TRUE(input->Editing());
    EXPECT_EQ(input->text(), "1");
    QTest::keyClick(input, Qt::Key_0);
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_FALSE(input->isVisible());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Levels(dlg), (std::vector<int>{255, 128, 10, 0}));
    EXPECT_EQ(list->SelectedRow(), 1);

    list->SelectRow(0);
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_FALSE(input->Editing());
    EXPECT_EQ(boxes->ShownBoxes().back().text, "範囲：255は変更できません。");

    // A punctuation key opens the editor on the row's level, all selected.
    list->SelectRow(1);
    QTest::keyClick(list, Qt::Key_Comma);
    ASSERT_TRUE(input->Editing());
    EXPECT_EQ(input->text(), "128");
    EXPECT_EQ(input->selectedText(), "128");
    QTest::keyClick(input, Qt::Key_Escape);
    EXPECT_FALSE(input->Editing());
    // A letter is the dialog's own.
    QTest::keyClick(list, Qt::Key_A);
    EXPECT_FALSE(input->Editing());
}

TEST_F(GradationDialogs, TheColourColumnOpensThePickerOnTheRowsColourAndADoubleClickLeavesTheLevel)
{
    CColorSettingDlg dlg(nullptr);
    ASSERT_TRUE(ShowOnUserSetting(dlg));
    auto* list = Id<CExColorListCtrl>(dlg, 35360);
    const QPoint green = list->visualItemRect(list->item(2, 1)).center();
    colours->QueueAnswer(std::nullopt);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, green);
    ASSERT_EQ(colours->Requests().size(), 1u);
    EXPECT_EQ(colours->Requests()[0].initial, 0x00FF00u);

    // A double click as the window system delivers it: a click, then the second press.
    const auto doubleClick = [list](int row, int column) {
        const QPoint at = list->visualItemRect(list->item(row, column)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(1, 1);
    EXPECT_FALSE(Id<CInputEdit>(dlg, 35370)->Editing());
    ASSERT_EQ(colours->Requests().size(), 2u);
    EXPECT_EQ(colours->Requests().back().initial, 0x0000FFu);
    EXPECT_EQ(Levels(dlg), (std::vector<int>{255, 200, 128, 0}));
    // The level column's double click still edits the level.
    doubleClick(1, 0);
    EXPECT_TRUE(Id<CInputEdit>(dlg, 35370)->Editing());
    EXPECT_EQ(colours->Requests().size(), 2u);
}

TEST_F(GradationDialogs, TheStandardColourDialogShowsTheColourItWasOpenedOn)
{
    ColorDialogService::Set(std::make_shared<QtColorDialogService>());
    QColor shown;
    // Runs inside the dialog's own event loop, once it is open.
    QTimer::singleShot(0, [&shown] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->currentColor();
            dialog->reject();
        }
    });
    EXPECT_EQ(ChooseColor(0x0000FF, nullptr), std::nullopt);
    EXPECT_EQ(shown, QColor(255, 0, 0));
}

TEST_F(GradationDialogs, AddDialogAnswersALevelOutOfRangeAsOutOfRange)
{
    CColorAddDlg dlg(nullptr);
    dlg.SetValues({255, 0x0000FF});
    auto* level = Id<CNumericIntEdit>(dlg, 35364);
    ASSERT_TRUE(TakeFocus(dlg, level));
    level->selectAll();
    QTest::keyClicks(level, "999");
    QTest::mouseClick(Id<QPushButton>(dlg, 1), Qt::LeftButton);
    ASSERT_EQ(boxes->Count(), 1u);
    EXPECT_EQ(boxes->ShownBoxes()[0].text, "範囲は1～254の整数を入力してください。");
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_TRUE(level->hasFocus());
    EXPECT_EQ(dlg.GetValues().level, 255);

    level->selectAll();
    QTest::keyClicks(level, "64");
    QTest::mouseClick(Id<QPushButton>(dlg, 1), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetValues().level, 64);
    EXPECT_EQ(boxes->Count(), 1u);
}

TEST_F(GradationDialogs, RegisterNameBoxHasItsLabel)
{
    CSettingRegisterDlg dlg(nullptr);
    auto* name = Id<QLineEdit>(dlg, 35369);
    QLabel* label = nullptr;
    for (QLabel* l : dlg.findChildren<QLabel*>())
        if (l->buddy() == name)
            label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "設定名：");
}

TEST_F(GradationDialogs, EnterAcceptsTheRegisterAndTinToCadDialogs)
{
    CSettingRegisterDlg registerDlg(nullptr);
    registerDlg.SetValues({""});
    auto* name = Id<QLineEdit>(registerDlg, 35369);
    ASSERT_TRUE(TakeFocus(registerDlg, name));
    QTest::keyClicks(name, "site");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(registerDlg.result(), QDialog::Accepted);
    EXPECT_EQ(registerDlg.GetValues().name, "site");

    VurTinToElmDlg tinDlg(nullptr);
    tinDlg.SetValues({0});
    auto* points = Id<QRadioButton>(tinDlg, 32939);
    ASSERT_TRUE(TakeFocus(tinDlg, points));
    points->setChecked(true);
    QTest::keyClick(points, Qt::Key_Return);
    EXPECT_EQ(tinDlg.result(), QDialog::Accepted);
    EXPECT_EQ(tinDlg.GetValues().kind, 1);
    // Enter on キャンセル is still キャンセル.
    VurTinToElmDlg cancelled(nullptr);
    cancelled.SetValues({0});
    auto* cancel = Id<QPushButton>(cancelled, 2);
    ASSERT_TRUE(TakeFocus(cancelled, cancel));
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST_F(GradationDialogs, OkStaysOpenWhenTheSettingsCannotBeSaved)
{
    values.profile = nullptr;  // no application profile in this program
    CColorSettingDlg dlg(nullptr);
    dlg.SetValues(values);
    Id<QPushButton>(dlg, 1)->click();
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(boxes->ShownBoxes().back().text, "ファイルの保存に失敗しました。");

    CColorSettingDlg saved(nullptr);
    values.profile = &profile;
    saved.SetValues(values);
    Id<QPushButton>(saved, 1)->click();
    EXPECT_EQ(saved.result(), QDialog::Accepted);
}

TEST_F(GradationDialogs, AddedStopComesFromTheAddDialog)
{
    values.store.m_nCurIndex = 3;
    CColorSettingDlg dlg(nullptr);
    dlg.SetValues(values);
    tessara::ScopedDialogScript script;
    script->Answer<CColorAddDlg>([](CColorAddDlg::Values& v) {
        EXPECT_EQ(v.level, 0);
        EXPECT_EQ(v.colour, 0u);
        v.level = 64;
        v.colour = 0x123456;
        return tessara::IDOK;
    });
    Id<QPushButton>(dlg, 35361)->click();
    EXPECT_EQ(Levels(dlg), (std::vector<int>{255, 200, 128, 64, 0}));
    EXPECT_EQ(Id<CExColorListCtrl>(dlg, 35360)->SelectedRow(), 3);
}

TEST_F(GradationDialogs, AddDialogArrowsStayWithinOneTo255AndTheSampleTakesTheColour)
{
    CColorAddDlg dlg(nullptr);
    dlg.SetValues({255, 0x0000FF});
    QTest::mouseClick(Id<ArrowPair>(dlg, 35365)->Up(), Qt::LeftButton);
    EXPECT_EQ(dlg.GetValues().level, 255);
    dlg.SetValues({1, 0x0000FF});
    QTest::mouseClick(Id<ArrowPair>(dlg, 35365)->Down(), Qt::LeftButton);
    EXPECT_EQ(dlg.GetValues().level, 1);
    colours->QueueAnswer(0x00FF00);
    Id<CColorButton>(dlg, 35366)->click();
    EXPECT_EQ(dlg.GetValues().colour, 0x00FF00u);
    EXPECT_EQ(colours->Requests().back().initial, 0x0000FFu);
}

TEST_F(GradationDialogs, RegisterDialogRefusesAnEmptyName)
{
    CSettingRegisterDlg dlg(nullptr);
    dlg.SetValues({"   "});
    dlg.OnOk();
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(boxes->ShownBoxes().back().text, "設定名を入力してください。");
    Id<QLineEdit>(dlg, 35369)->setText(" site ");
    dlg.OnOk();
    EXPECT_EQ(dlg.GetValues().name, "site");
}

} // namespace
