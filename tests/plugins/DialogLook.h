#pragma once

// What a person sees of a table dialog: command buttons that say what they do, and
// every tab whole on its bar. Geometry is checked, and a picture of the dialog is kept
// in the build folder for a look.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QRegularExpression>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace plugtest {

inline void ShowForALook(QDialog& dialog)
{
    dialog.adjustSize();
    dialog.show();
    QCoreApplication::processEvents();
}

inline void ExpectToolbarNamesItsCommands(QDialog& dialog)
{
    ShowForALook(dialog);
    const auto* bar = dialog.findChild<QToolBar*>("commandBar");
    ASSERT_NE(bar, nullptr);
    static const QRegularExpression number(R"(^[\d\s]+$)");
    int buttons = 0;
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        ++buttons;
        const std::string text = action->text().toStdString();
        EXPECT_FALSE(action->text().trimmed().isEmpty());
        EXPECT_FALSE(number.match(action->text()).hasMatch()) << "a bare number as button text: " << text;
        EXPECT_TRUE(action->toolTip().startsWith(action->text() + ":")) << text << " / " << action->toolTip().toStdString();
        EXPECT_GT(action->toolTip().size(), action->text().size() + 4) << "the tooltip says what it does: " << text;
        // On the bar itself, not folded into its overflow menu, and wide enough for its text.
        const auto* button = qobject_cast<const QToolButton*>(bar->widgetForAction(action));
        ASSERT_NE(button, nullptr) << text;
        EXPECT_TRUE(button->isVisible()) << text;
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(action->text())) << text;
    }
    EXPECT_GE(buttons, 3);
}

// Also when the person has made the dialog as narrow as it goes.
inline void ExpectEveryTabWhole(QDialog& dialog, const std::string& picture)
{
    ShowForALook(dialog);
    dialog.resize(dialog.minimumSizeHint().width(), dialog.height());
    QCoreApplication::processEvents();
    const auto* tabs = dialog.findChild<QTabBar*>("tab9000");
    ASSERT_NE(tabs, nullptr);
    ASSERT_GT(tabs->count(), 0);
    // A bar narrower than its tabs scrolls them under its arrows.
    EXPECT_GE(tabs->width(), tabs->sizeHint().width()) << "the tab bar is narrower than its tabs";
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i)))
            << "tab " << tabs->tabText(i).toStdString() << " is cut: bar width " << tabs->width() << ", tab ends at "
            << tabs->tabRect(i).right();
        EXPECT_GE(tabs->tabRect(i).width(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)));
    }
    const char* binary = std::getenv("TESSARA_BINARY_DIR");
    const std::filesystem::path shot = std::filesystem::path(binary != nullptr ? binary : ".") / picture;
    EXPECT_TRUE(dialog.grab().save(QString::fromStdString(shot.string())));
}

} // namespace plugtest
