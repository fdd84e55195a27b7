// The settings the dialogs write come back as written after a restart: the view
// saves its record into the user's real profile file when it is destroyed, and a
// new profile object (a new run) reads it into the next view. Every test starts
// without the profile folder, as on a first run.

#include "../render/TestView.h"
#include "../render/ViewTestApp.h"

#include "outside/CGradationSetting.h"
#include "platform/Files.h"
#include "platform/IniProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/app/CAboutDlg.h"
#include "viewer/dialogs/CColorSettingDlg.h"
#include "viewer/dialogs/CGlviewrVurDlg.h"
#include "viewer/dialogs/CNumericDoubleEditEx.h"
#include "viewer/dialogs/CSettingRegisterDlg.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DanmenConfDlg.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/ReductionModes.h"
#include "viewer/render/ShellHooks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// One persisted value: how a dialog puts it into the record and how it is read
// out, and the two ends of what the dialog accepts.
struct Key {
    std::string name;
    double lowest;
    double highest;
    std::function<void(ViewSettings&, double)> set;
    std::function<double(const ViewSettings&)> get;
};

#define KEY(name, member, lowest, highest)                                                                     \
    Key                                                                                                         \
    {                                                                                                           \
        name, lowest, highest,                                                                                  \
            [](ViewSettings& s, double v) { s.member = static_cast<std::decay_t<decltype(s.member)>>(v); },     \
            [](const ViewSettings& s) { return static_cast<double>(s.member); }                                 \
    }

std::vector<Key> Keys()
{
    const std::vector<int>& levels = ReductionModes::FromGenerator().levels;
    const double lowLevel = *std::min_element(levels.begin(), levels.end());
    const double highLevel = *std::max_element(levels.begin(), levels.end());
    std::vector<Key> keys = {
        // The settings dialog, hidden controls included.
        KEY("DrawTinOpReduceMode", tinOption.m_nPolyRdcsplMode, lowLevel, highLevel),
        KEY("DrawTinOpConsiderBrkln", tinOption.m_nConsiderBreakLineSw, 0, 1),
        KEY("DrawTinOpRemoveExctri", tinOption.m_nRemoveExcessiveTriangleSw, 0, 1),
        KEY("DrawTinOpExcTrilen", tinOption.m_dExcessiveTriangleLength, 0.0001, 1000.0),
        KEY("FaceMsIndex", materialIndex, 0, 24),
        KEY("Texture_Cad", drawHostCad, 0, 1),
        KEY("Texture_Part", drawHostPart, 0, 1),
        KEY("LigthColor", paleSlopeFill, 0, 1),
        KEY("FaceMaterial", materialToBackground, 0, 1),
        KEY("Viewpickmode", pickMode, 0, 3),
        KEY("ViewPointSize", pointSizeIndex, 0, 4),
        KEY("ViewPointCol", pointColour, 0, 0xFFFFFF),
        KEY("ViewColorBright", colourBrightness, -100, 100),
        KEY("ViewCorrectionHint", pointDisplayType, 0, 11),
        KEY("ViewPectiveEx", projection, 0, 3),
        KEY("ViewDepthAlways", depthMode, 0, 1),
        KEY("ViewLnWidthCad", cadLineWidthIndex, 0, 4),
        KEY("ViewLnWidthPart", partLineWidthIndex, 0, 4),
        KEY("ViewUnsetExclusion", hideFiguresWithoutZ, 0, 1),
        KEY("psKeyGlViewMouseDrag", mouseType, 0, 1),
        KEY("psKeyGlViewAlignmentMode", windowAlignment, 0, 1),
        KEY("psKeySplitBreakline", splitBreakLines, 0, 1),
        KEY("psKeySplitPitch", splitPitchM, 0.05, 99.99),
        KEY("psKeyFlatBreakline", flattenParallelBreakLines, 0, 1),
        KEY("psKeyFlatRange", parallelDistanceM, 0.1, 99.99),
        KEY("psKeyBackColor", background, 0, 2),
        KEY("psDrawmaxTinMakePsize", tinPointLimit, 1, 100),
        KEY("psKeyDrawBackGradation", backgroundGradient, 0, 1),
        // The colour dialogs of the edit commands.
        KEY("psKeyGlViewCadEditColor", cadEditColour, 0, 0xFFFFFF),
        // The deletion dialog.
        KEY("psKeyGlViewDeleteMode", deleteMode, 0, 2),
        KEY("psKeyGlViewDeleteHightMode", elevationDeleteMode, 0, 1),
        KEY("psKeyGlViewDeleteHightValue1", elevationBound1, -9999.9999, 9999.9999),
        KEY("psKeyGlViewDeleteHightValue2", elevationBound2, -9999.9999, 9999.9999),
        // The filter dialogs.
        KEY("psKeyGlViewSampleVur_radius", radiusM, 0.01, 100.0),
        KEY("psKeyGlViewSampleVur_stddev", standardDeviation, 0.01, 100.0),
        KEY("psKeyGlViewSampleVur_min_pts", minimumPoints, 1, 100),
        KEY("psKeyGlViewSampleVur_nr_k", neighbourCount, 1, 100),
        // The distance and cross-section dialogs.
        KEY("psKeyLevelDistance", showPlaneDistance, 0, 1),
        KEY("psKeySlopeDistance", showSlopeDistance, 0, 1),
        KEY("psKeyHeigthDistance", showHeightDifference, 0, 1),
        KEY("psKeyTargetTin", sectionThroughTins, 0, 1),
        KEY("psKeyTargetPoint", sectionThroughPoints, 0, 1),
        KEY("psKeyOfset", sectionDirectionToleranceM, 0.001, 9999.999),
        KEY("psKeyPrevDistance", sectionPointSpacingM, 0.0, 10.0),
        // The display switches the ribbon keeps.
        KEY("ViewPaper", paper, 0, 1),
        KEY("ViewGrid", grid, 0, 1),
        KEY("ViewAxis", axis, 0, 1),
        KEY("ViewXYZ", xyzMark, 0, 1),
        KEY("ViewDIR", compassMark, 0, 1),
        KEY("ViewSize", sizeCaption, 0, 1),
    };
    static const char* const kCells[] = {"lx", "ly", "lz", "lminx", "lminy", "lminz", "lmaxx", "lmaxy", "lmaxz"};
    for (int i = 0; i < 9; ++i) {
        auto cell = [i](auto& s) -> auto& {
            auto& cells = i < 3 ? s.gridCellM : (i < 6 ? s.lowestCellM : s.highestCellM);
            return cells[static_cast<std::size_t>(i % 3)];
        };
        keys.push_back({std::string("psKeyGlViewSampleVur_") + kCells[i], 0.01, 100.0,
                        [cell](ViewSettings& s, double v) { cell(s) = v; },
                        [cell](const ViewSettings& s) { return cell(s); }});
    }
    for (int i = 0; i < 16; ++i) {
        keys.push_back({"psKeyGlViewCadEditCustomColor" + std::to_string(i), 0, 0xFFFFFF,
                        [i](ViewSettings& s, double v) { s.customColours[static_cast<std::size_t>(i)] = static_cast<COLORREF>(v); },
                        [i](const ViewSettings& s) { return static_cast<double>(s.customColours[static_cast<std::size_t>(i)]); }});
    }
    return keys;
}

#undef KEY

class SettingsRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        m_previousBoxes = tessara::SetMessageBoxService(m_boxes);
        ShellHooks::Instance().showAboutDialog = [] {};
        // The program's own profile, in this program's private config folder.
        Restart();
        const std::string file = static_cast<tessara::IniProfile*>(tessara::AppProfile())->FilePath();
        m_folder = file.substr(0, file.rfind('/'));
        std::filesystem::remove_all(m_folder);
        ASSERT_FALSE(tessara::FolderExists(m_folder));
    }
    void TearDown() override
    {
        tessara::SetAppProfile(nullptr);
        ShellHooks::Instance().showAboutDialog = nullptr;
        tessara::SetMessageBoxService(m_previousBoxes);
        std::filesystem::remove_all(m_folder);
    }
    //! A new run: a profile object that knows only what its file holds.
    static void Restart() { tessara::SetAppProfile(std::make_shared<tessara::IniProfile>()); }

    std::shared_ptr<tessara::ScriptedMessageBoxes> m_boxes = std::make_shared<tessara::ScriptedMessageBoxes>();
    std::string m_folder;

private:
    std::shared_ptr<tessara::MessageBoxService> m_previousBoxes;
};

TEST_F(SettingsRoundTripTest, EveryKeyComesBackAtBothEndsOfWhatItsDialogTakes)
{
    const std::vector<Key> keys = Keys();
    for (const bool highest : {false, true}) {
        SCOPED_TRACE(highest ? "highest" : "lowest");
        {
            TestView view;
            for (const Key& key : keys)
                key.set(view.Settings(), highest ? key.highest : key.lowest);
            view.m_pointColourMode = highest ? 5 : 0;
            view.m_newGroupOnRegister = highest ? 1 : 0;
        }
        Restart();
        TestView view;
        for (const Key& key : keys)
            EXPECT_EQ(key.get(view.Settings()), highest ? key.highest : key.lowest) << key.name;
        EXPECT_EQ(view.m_pointColourMode, highest ? 5 : 0);
        EXPECT_EQ(view.m_newGroupOnRegister, highest ? 1 : 0);
    }
    EXPECT_TRUE(m_boxes->ShownBoxes().empty());
}

TEST_F(SettingsRoundTripTest, LargestPointSizeChosenInTheSettingsDialogStaysLargest)
{
    {
        TestView view;
        CGlviewrVurDlg dlg(nullptr);
        dlg.SetValues({view.Settings(), {}});
        ControlIds::Find<QComboBox>(&dlg, 32905)->setCurrentIndex(4);   // 特大
        ControlIds::Find<QPushButton>(&dlg, 1)->click();
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        view.Settings() = dlg.GetValues().settings;
    }
    Restart();
    TestView view;
    EXPECT_EQ(view.Settings().pointSizeIndex, 4);
    CGlviewrVurDlg again(nullptr);
    again.SetValues({view.Settings(), {}});
    EXPECT_EQ(ControlIds::Find<QComboBox>(&again, 32905)->currentText(), "特大");
}

TEST_F(SettingsRoundTripTest, ZeroSpacingTypedInTheCrossSectionPanelStaysZero)
{
    {
        TestView view;
        DanmenConfDlg panel(&view.Settings(), nullptr, {});
        auto* spacing = ControlIds::Find<CNumericDoubleEditEx>(&panel, 35393);
        spacing->setText("0.00");
        spacing->CommitText();
        ASSERT_EQ(view.Settings().sectionPointSpacingM, 0.0);
    }
    Restart();
    TestView view;
    EXPECT_EQ(view.Settings().sectionPointSpacingM, 0.0);
    DanmenConfDlg panel(&view.Settings(), nullptr, {});
    EXPECT_EQ(ControlIds::Find<CNumericDoubleEditEx>(&panel, 35393)->text(), "0.00");
}

TEST_F(SettingsRoundTripTest, ColourDialogOkSavesOnTheFirstRunAndTheNextViewTakesTheSetting)
{
    {
        CColorSettingDlg dlg(nullptr);
        CColorSettingDlg::Values values;
        values.store.LoadGradationSetting();
        dlg.SetValues(values);
        tessara::ScopedDialogScript script;
        script->Answer<CSettingRegisterDlg>([](CSettingRegisterDlg::Values& v) {
            v.name = "現場A";
            return tessara::IDOK;
        });
        ControlIds::Find<QPushButton>(&dlg, 35358)->click();
        ControlIds::Find<QPushButton>(&dlg, 1)->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    EXPECT_TRUE(m_boxes->ShownBoxes().empty());
    Restart();
    TestView view;
    const CGradationSetting& store = view.Settings().gradation;
    ASSERT_LT(store.m_nCurIndex, store.m_settings.size());
    EXPECT_EQ(store.m_settings[store.m_nCurIndex].name, "現場A");
}

TEST_F(SettingsRoundTripTest, AboutBoxStartupChoiceSurvivesTheRestart)
{
    for (const bool show : {false, true}) {
        {
            CAboutDlg about;
            about.StartupCheck()->setChecked(show);
            about.accept();
        }
        Restart();
        CAboutDlg about;
        EXPECT_EQ(about.StartupCheck()->isChecked(), show);
    }
    EXPECT_TRUE(m_boxes->ShownBoxes().empty());
}

} // namespace
