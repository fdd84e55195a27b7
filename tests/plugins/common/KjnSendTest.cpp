#include "HostTestSupport.h"

#include "hostfw/CVApp.h"
#include "hostfw/FileChooser.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/VCabinetDocExDLL.h"
#include "hostfw/VCabinetDocTable.h"
#include "plugins/common/BinderOutput.h"
#include "plugins/common/Kjn_Send.h"
#include "plugins/common/PluginTable.h"

#include <sys/stat.h>

#include <cerrno>

#include <cstdlib>

namespace {

const plugcommon::PluginTable kTable{4827, "MOD04827.DLL", "t0", "t1", 33, 32, "品質評価表",
                                     "基準点品質評価表", "GPSHYOCMB", "\\GPSHYOCSV.INI",
                                     {"基準点測量", "測量成果", "基準点測量", "1", "基準点測量", "メタデータ", "なし"},
                                     "基準点品質評価表データ,csvﾌｧｲﾙ(", "GPSHYO.CSV", "done"};

class FakeCarrier : public plugcommon::Kjn_Send {
public:
    FakeCarrier() : Kjn_Send(kTable) {}
    short evaluation = 0;
    bool failLine = false;
    bool RunEvaluation() override
    {
        SetState(evaluation);
        return evaluation == 0;
    }
    int WriteCsv(plugcommon::CsvWriter& out) override
    {
        if (!WriteHeader(out, "題名", "令和6年", "範囲"))
            return 0;
        std::array<std::string, 7> values{"a", "001", "b", "percent", "百分率", "全数検査",
                                          failLine ? "\xF0\x9F\x98\x80" : "値"};
        return WriteQualityElement(out, 1, values);
    }
};

class KjnSendTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        std::string temp;
        PeldaIni::GetBinderTempPath(temp);
        PeldaIni::CreateDir(temp);
        m_output = JoinHostPath(temp, "GPSHYO.CSV");
        SetFileChooserHook([this](const std::string&) {
            ++m_chooserCalls;
            return m_choice;
        });
    }
    std::string BinderFile() const { return (Root() / "binder" / "files" / "GPSHYO.CSV").string(); }
    int Documents()
    {
        VCabinetDocExDLL binder(998);
        return binder.Create(998) ? binder.GetDocTable()->DocumentCount() : -1;
    }

    std::string m_output;
    int m_chooserCalls = 0;
    std::optional<std::string> m_choice = std::string("GPSHYO.CSV");
};

TEST_F(KjnSendTest, WritesStoresAndRegistersTheOutput)
{
    FakeCarrier carrier;
    carrier.SetOutputPath(m_output);
    EXPECT_EQ(carrier.Send(), 1);
    EXPECT_EQ(ReadFile(BinderFile()), ReadFile(m_output));
    const std::string written = ReadFile(m_output);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 13);
    EXPECT_EQ(Documents(), 1);
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(Root() / "work" / "temp_rw.ini")) << "the list file is gone";
    EXPECT_EQ(carrier.Send(), 1) << "a second output replaces the same document";
    EXPECT_EQ(Documents(), 1);
}

TEST_F(KjnSendTest, AfterAWriteFailureNoChooserOpensAndNothingIsStored)
{
    FakeCarrier carrier;
    carrier.failLine = true;
    carrier.SetOutputPath(m_output);
    EXPECT_EQ(carrier.Send(), 0);
    EXPECT_EQ(m_chooserCalls, 0);
    EXPECT_FALSE(std::filesystem::exists(m_output));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "エラーメッセージ|ライトエラーが発生しました");
}

TEST_F(KjnSendTest, AFailedBinderCopyIsNoSuccessAndTakesTheNewDocumentOut)
{
    // A folder where the binder file should go: the copy cannot replace it.
    std::filesystem::create_directories(BinderFile());
    FakeCarrier carrier;
    carrier.SetOutputPath(m_output);
    EXPECT_EQ(carrier.Send(), 0);
    EXPECT_EQ(Documents(), 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("出力ファイルのテンポラリからのコピーに失敗しました。"), std::string::npos)
        << Messages()[0];
    EXPECT_TRUE(std::filesystem::is_directory(BinderFile())) << "what stood there is untouched";
}

TEST_F(KjnSendTest, CancelledChoiceIsState3AndFailedEvaluationWritesNothing)
{
    m_choice.reset();
    FakeCarrier carrier;
    carrier.SetOutputPath(m_output);
    EXPECT_EQ(carrier.Send(), 0);
    EXPECT_EQ(carrier.GetState(), 3);
    EXPECT_EQ(carrier.GetStateMessage(), "出力を中止しました。");

    FakeCarrier failing;
    failing.evaluation = 2;
    failing.SetOutputPath(m_output);
    EXPECT_EQ(failing.Send(), 0);
    EXPECT_EQ(failing.GetState(), 2);
    EXPECT_FALSE(std::filesystem::exists(m_output));

    FakeCarrier noPath;
    EXPECT_EQ(noPath.Send(), 0);
}

TEST_F(KjnSendTest, AnOpenFailureShowsItsMessageAndLeavesTheStateAtZero)
{
    FakeCarrier carrier;
    EXPECT_EQ(carrier.GetState(), 0);
    carrier.SetOutputPath((Root() / "no-such-folder" / "GPSHYO.CSV").string());
    EXPECT_EQ(carrier.Send(), 0);
    EXPECT_EQ(m_chooserCalls, 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "エラーメッセージ|オープンエラーが発生しました");
    EXPECT_EQ(carrier.GetStateMessage(), "") << "no state text follows the open error";
}

TEST_F(KjnSendTest, CopyOntoAReadOnlyTargetSucceedsAndLeavesItWritable)
{
    const auto source = WriteFile("s.csv", "new");
    const auto target = WriteFile("t.csv", "old");
    ::chmod(target.c_str(), 0444);
    EXPECT_EQ(plugcommon::CopyOutputFromTemp(source.string(), target.string()), 1);
    EXPECT_EQ(ReadFile(target), "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
}

TEST_F(KjnSendTest, AnExistingBackupMeansNoCopyAndSuccess)
{
    VCabinetDocExDLL binder(998);
    ASSERT_TRUE(binder.Create(998));
    VCabinetDocTable& table = *binder.GetDocTable();
    const FieldValue id = table.NewDocument("LIST.lst", 998, std::int64_t{0}, std::int64_t{0});
    WriteFile("binder/files/LIST.lst", "data");
    WriteFile("binder/backup/LIST.lst", "older backup");
    EXPECT_EQ(plugcommon::BackupDataFile(table, id), 1);
    EXPECT_EQ(ReadFile(Root() / "binder/backup/LIST.lst"), "older backup");

    // Without a backup, a list-file document is copied (the binder library says so).
    PeldaGetApp().SetPluginDataDir(TESSARA_TEST_PLUGIN_DIR);
    std::filesystem::remove(Root() / "binder/backup/LIST.lst");
    EXPECT_EQ(plugcommon::BackupDataFile(table, id), 1);
    EXPECT_EQ(ReadFile(Root() / "binder/backup/LIST.lst"), "data");
    EXPECT_EQ(plugcommon::BackupDataFile(table, std::int64_t{999}), 0) << "an unknown document";
    EXPECT_EQ(Messages().back(), "確認|ドキュメントの管理情報が不正です。");
}

struct CopyErrorCase {
    int error;
    const char* text;
};

class CopyFailureTest : public ::testing::TestWithParam<CopyErrorCase> {};

TEST_P(CopyFailureTest, NamesTheCauseBySystemError)
{
    EXPECT_EQ(plugcommon::CopyFailureMessage(GetParam().error, "/t/GPSHYO.CSV", "/b/GPSHYO.CSV"), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFailureTest,
    ::testing::Values(CopyErrorCase{EROFS, "出力先が書き込み禁止になっています。\n[/b/GPSHYO.CSV]"},
                      CopyErrorCase{EACCES, "出力先が書き込み禁止になっています。\n[/b/GPSHYO.CSV]"},
                      CopyErrorCase{ENOSPC, "出力先に空き容量がありません。\n[/b/GPSHYO.CSV]"},
                      CopyErrorCase{EDQUOT, "出力先に空き容量がありません。\n[/b/GPSHYO.CSV]"},
                      CopyErrorCase{EIO, "出力ファイルのテンポラリからのコピーに失敗しました。(5)\n"
                                         "コピー元：[/t/GPSHYO.CSV]\nコピー先：[/b/GPSHYO.CSV]"}));

TEST(IsVariantBlankTest, EmptyAndLongZero)
{
    EXPECT_TRUE(plugcommon::IsVariantBlank(FieldValue{}));
    EXPECT_TRUE(plugcommon::IsVariantBlank(FieldValue{std::int64_t{0}}));
    EXPECT_FALSE(plugcommon::IsVariantBlank(FieldValue{std::int64_t{3}}));
    EXPECT_FALSE(plugcommon::IsVariantBlank(FieldValue{std::string()}));
}

} // namespace
