#include "platform/QtTranslations.h"
#include "platform/gltest/GlTestContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

namespace tessara {
namespace {

struct ButtonCase {
    const char* name;
    QMessageBox::StandardButton button;
    const char* text;    // the translation, without its mnemonic
};

class QtTranslationsTest : public ::testing::TestWithParam<ButtonCase> {
protected:
    static void SetUpTestSuite()
    {
        GlTestContext::EnsureApplication();
        ASSERT_EQ(InstallQtJapaneseTranslations(*QCoreApplication::instance()), 1);
    }
};

TEST_P(QtTranslationsTest, StandardButtonsSpeakJapanese)
{
    QMessageBox box(QMessageBox::Question, "ORVANE SurfLook(Free)", "全データを削除しますか？",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    const QString text = box.button(GetParam().button)->text();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(GetParam().text))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Buttons, QtTranslationsTest,
                         ::testing::Values(ButtonCase{"yes", QMessageBox::Yes, "はい"},
                                           ButtonCase{"no", QMessageBox::No, "いいえ"},
                                           ButtonCase{"cancel", QMessageBox::Cancel, "キャンセル"},
                                           ButtonCase{"ok", QMessageBox::Ok, "OK"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QtTranslationsTest, EditContextMenuSpeaksJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo").toStdString().rfind("元に戻す", 0), 0u);
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "Select All").toStdString(), "すべてを選択");
}

} // namespace
} // namespace tessara
