// What a person sees of the ribbon and the About box: tooltips that name the command,
// disabled buttons that look disabled, no widgets over one another in a narrow window,
// and the licence text in the agreement's place.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/MemoryProfile.h"
#include "platform/Profile.h"
#include "../render/ViewTestApp.h"
#include "viewer/app/CAboutDlg.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/app/CommandRouter.h"
#include "viewer/app/RibbonBar.h"

namespace {

std::filesystem::path PicturePath(const char* name)
{
    const char* binary = std::getenv("TESSARA_BINARY_DIR");
    return std::filesystem::path(binary != nullptr ? binary : ".") / name;
}

class RibbonLookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_frame = std::make_unique<CMainFrame>(&m_appCommands);
        ASSERT_TRUE(m_frame->OnCreate());
    }
    void ShowAtWidth(int width)
    {
        m_frame->resize(width, 600);
        m_frame->show();
        QCoreApplication::processEvents();
    }

    CommandMap m_appCommands;
    std::unique_ptr<CMainFrame> m_frame;
};

TEST_F(RibbonLookTest, EveryButtonAndMenuItemHasATooltipNamingItsCommand)
{
    for (QToolButton* button : m_frame->Ribbon()->PanelButtons()) {
        const QString tip = button->toolTip();
        EXPECT_TRUE(tip.startsWith(button->text() + "\n")) << button->text().toStdString();
        EXPECT_GT(tip.size(), button->text().size() + 4) << button->text().toStdString();
        if (QMenu* menu = button->menu()) {
            EXPECT_TRUE(menu->toolTipsVisible());
            for (QAction* item : menu->actions())
                EXPECT_TRUE(item->toolTip().startsWith(item->text() + "\n")) << item->text().toStdString();
        }
    }
    EXPECT_FALSE(m_frame->Ribbon()->AboutButton()->toolTip().isEmpty());
}

// The ink of a button: how far its pixels are from the background, summed.
double Ink(QWidget& widget)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(0, 0);
    double ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            ink += std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                   std::abs(qBlue(p) - qBlue(background));
        }
    return ink;
}

TEST_F(RibbonLookTest, ADisabledButtonHasLessThanHalfTheInkOfAnEnabledOne)
{
    ShowAtWidth(1280);
    for (QToolButton* button : m_frame->Ribbon()->PanelButtons()) {
        if (button->menu())
            continue;
        const bool was = button->isEnabled();
        button->setEnabled(true);
        const double enabled = Ink(*button);
        button->setEnabled(false);
        const double disabled = Ink(*button);
        button->setEnabled(was);
        EXPECT_LT(disabled, enabled * 0.5) << button->text().toStdString();
    }
}

// The visible buttons, panel captions and separators of a widget, in its coordinates.
std::vector<std::pair<QWidget*, QRect>> VisibleParts(QWidget* within)
{
    std::vector<std::pair<QWidget*, QRect>> parts;
    for (QWidget* child : within->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(within) || (!qobject_cast<QToolButton*>(child) && !qobject_cast<QLabel*>(child)))
            continue;
        parts.emplace_back(child, QRect(child->mapTo(within, QPoint(0, 0)), child->size()));
    }
    return parts;
}

void ExpectInsideAndApart(QWidget* within, const std::vector<std::pair<QWidget*, QRect>>& parts)
{
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(within->rect().contains(parts[i].second)) << parts[i].first->objectName().toStdString();
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
            EXPECT_FALSE(parts[i].second.intersects(parts[j].second))
                << parts[i].first->objectName().toStdString() << " over " << parts[j].first->objectName().toStdString();
        }
    }
}

TEST_F(RibbonLookTest, AtEightHundredPixelsAndNarrowerEveryButtonIsReachableWithoutScrolling)
{
    RibbonBar* ribbon = m_frame->Ribbon();
    ASSERT_EQ(ribbon->Tabs()->count(), 2);
    EXPECT_EQ(ribbon->Tabs()->tabText(0), "ホーム");
    EXPECT_EQ(ribbon->Tabs()->tabText(1), "編集");
    for (const int width : {1280, 800, 640}) {
        for (int category = 0; category < 2; ++category) {
            SCOPED_TRACE(std::to_string(width) + " px, category " + std::to_string(category));
            ribbon->ShowCategory(category);
            ShowAtWidth(width);
            EXPECT_LE(m_frame->width(), width) << "the ribbon must not force the window wider";
            for (QScrollBar* bar : ribbon->findChildren<QScrollBar*>())
                EXPECT_FALSE(bar->isVisible()) << "nothing of the ribbon scrolls";
            QWidget* page = ribbon->Pages()->currentWidget();
            EXPECT_GE(ribbon->Pages()->contentsRect().height(), page->sizeHint().height())
                << "the buttons are cut at the bottom";
            ExpectInsideAndApart(page, VisibleParts(page));
            // Every button: shown whole on the page, or in a collapsed panel whose
            // one button is on the page and opens the panel with all its buttons.
            int collapsed = 0;
            for (RibbonPanel* panel : ribbon->PanelsOf(category)) {
                if (!panel->Collapsed()) {
                    for (QToolButton* button : panel->Body()->findChildren<QToolButton*>())
                        EXPECT_TRUE(button->isVisible()) << button->text().toStdString();
                    continue;
                }
                ++collapsed;
                QToolButton* opener = panel->CollapsedButton();
                ASSERT_TRUE(opener->isVisible()) << panel->objectName().toStdString();
                QTest::mouseClick(opener, Qt::LeftButton, {}, opener->rect().center());
                ASSERT_TRUE(ProcessEventsUntil([&] { return panel->Popup()->isVisible(); }));
                ExpectInsideAndApart(panel->Popup(), VisibleParts(panel->Popup()));
                EXPECT_TRUE(opener->screen()->availableGeometry().contains(panel->Popup()->frameGeometry()))
                    << "the opened panel stays on the screen";
                for (QToolButton* button : panel->Body()->findChildren<QToolButton*>())
                    EXPECT_TRUE(button->isVisible()) << button->text().toStdString();
                panel->ClosePopup();
            }
            if (width == 1280 && category == 0) {
                EXPECT_EQ(collapsed, 0) << "a full-width window shows every panel of ホーム";
            }
            if (width <= 800) {
                EXPECT_LT(collapsed, static_cast<int>(ribbon->PanelsOf(category).size())) << "the first panel stays whole";
            }
            const std::string picture =
                "ribbon-" + std::to_string(width) + (category == 0 ? "-home" : "-edit") + ".png";
            EXPECT_TRUE(m_frame->grab().save(QString::fromStdString(PicturePath(picture.c_str()).string())));
        }
    }
}

TEST(AboutBoxLookTest, TheLicenceTextTakesTheAgreementsPlaceAndSize)
{
    EnsureViewTestApp();
    CAboutDlg dialog;
    dialog.show();
    QCoreApplication::processEvents();
    const QRect agreement = dialog.AgreementEdit()->geometry();
    dialog.LicenceRadio()->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.LicenceEdit()->isVisible());
    EXPECT_FALSE(dialog.AgreementEdit()->isVisible());
    EXPECT_EQ(dialog.LicenceEdit()->geometry(), agreement);
    EXPECT_GT(agreement.height(), 200);
    EXPECT_FALSE(dialog.LicenceEdit()->geometry().intersects(dialog.AgreementRadio()->geometry()));
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(PicturePath("about-licence.png").string())));
    dialog.AgreementRadio()->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.AgreementEdit()->isVisible());
    EXPECT_FALSE(dialog.LicenceEdit()->isVisible());
}

} // namespace
