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
#include <QScrollArea>
#include <QScrollBar>
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

TEST_F(RibbonLookTest, AtEightHundredPixelsNoRibbonWidgetsOverlapAndAllCanBeReached)
{
    for (const int width : {1280, 800, 640}) {
        SCOPED_TRACE(width);
        ShowAtWidth(width);
        EXPECT_LE(m_frame->width(), width) << "the ribbon must not force the window wider";
        QScrollArea* area = m_frame->Ribbon()->PanelArea();
        QWidget* category = area->widget();
        // Buttons, panel captions and separators, in the category's coordinates.
        std::vector<std::pair<QWidget*, QRect>> parts;
        for (QWidget* child : category->findChildren<QWidget*>()) {
            if (!child->isVisible() || (!qobject_cast<QToolButton*>(child) && !qobject_cast<QLabel*>(child)))
                continue;
            parts.emplace_back(child, QRect(child->mapTo(category, QPoint(0, 0)), child->size()));
        }
        ASSERT_GT(parts.size(), 30u);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(category->rect().contains(parts[i].second)) << parts[i].first->objectName().toStdString();
            for (std::size_t j = i + 1; j < parts.size(); ++j)
                EXPECT_FALSE(parts[i].second.intersects(parts[j].second))
                    << qobject_cast<QToolButton*>(parts[i].first) << " over " << qobject_cast<QToolButton*>(parts[j].first);
        }
        // What does not fit the window is reached by scrolling, with the scroll bar in view.
        const bool wider = category->width() > area->viewport()->width();
        EXPECT_EQ(wider, area->horizontalScrollBar()->isVisible());
        if (wider) {
            EXPECT_GE(area->horizontalScrollBar()->maximum(), category->width() - area->viewport()->width());
        }
        EXPECT_GE(area->viewport()->height(), category->height()) << "the buttons are cut at the bottom";
        const std::string picture = "ribbon-" + std::to_string(width) + ".png";
        EXPECT_TRUE(m_frame->grab().save(QString::fromStdString(PicturePath(picture.c_str()).string())));
        if (width == 1280) {
            EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << "a full-width window shows every panel";
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
