#include "HostTestSupport.h"

#include "hostfw/CVApp.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/HostScript.h"
#include "hostfw/HostMessages.h"
#include "hostfw/TPeldaHelpManager.h"

namespace {

using MessagesTest = HostTest;

TEST_F(MessagesTest, CommandMessagesShowUnderThePartsTitleAndMayBeAbsent)
{
    CmdMsgBox* box = PeldaGetApp().GetCmdMsgBox();
    ASSERT_TRUE(box);
    box->XCmdNameMessage(7, "報告 品質評価表", 1);
    box->XCmdStdMessage(7, "処理が正常に行われました。", 0);
    box->XCmdErrMessageBox(7, "計算データの取得に失敗しました。", 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"報告 品質評価表|処理が正常に行われました。",
                                                    "報告 品質評価表|計算データの取得に失敗しました。"}));
    ASSERT_EQ(box->Log().size(), 3u);
    EXPECT_EQ(box->Log()[2].kind, CmdMsgBox::Kind::Err);
    PeldaGetApp().EnableCmdMsgBox(false);
    EXPECT_EQ(PeldaGetApp().GetCmdMsgBox(), nullptr);
}

TEST_F(MessagesTest, HelpShowsThePushedTopic)
{
    TPeldaHelpManager help;
    EXPECT_FALSE(help.Show(1));
    help.Push(TPeldaHelpContext{3, "MOD04827.DLL", 0, "品質評価表-メインヘルプ"});
    EXPECT_TRUE(help.Show(1)) << "an unknown index shows the last topic";
    EXPECT_EQ(Messages().back(), "ヘルプ MOD04827.DLL|品質評価表-メインヘルプ");
}

TEST_F(MessagesTest, ScriptAnswersBoxesInOrderThenWithTheDefault)
{
    HostScript script;
    std::string error;
    EXPECT_FALSE(script.Parse("{ broken", error));
    ASSERT_TRUE(script.Parse(R"({ "messages": [7] })", error)) << error;
    static std::vector<std::string> lines;
    lines.clear();
    script.InstallHooks([](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(HostMessageBox("続けますか？", "確認", kMbYesNo | kMbIconQuestion), kIdNo);
    EXPECT_EQ(HostMessageBox("続けますか？", "確認", kMbYesNo | kMbIconQuestion), kIdYes);
    EXPECT_EQ(lines, (std::vector<std::string>{"MSG[確認] 続けますか？", "MSG[確認] 続けますか？"}));
    HostScript::RemoveHooks();
}

} // namespace
