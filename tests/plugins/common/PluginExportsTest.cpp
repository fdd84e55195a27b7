#include "HostTestSupport.h"

#include "hostfw/CTabParamDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/CVSvyPartPrg.h"
#include "hostfw/CPartDB.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/TPeldaHelpContext.h"
#include "hostfw/VCmdData.h"
#include "plugins/common/PluginExports.h"
#include "plugins/common/PluginTable.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::filesystem::path PluginDir()
{
    return TESSARA_TEST_PLUGIN_DIR;
}

std::filesystem::path SourceDir()
{
    const char* dir = std::getenv("TESSARA_SOURCE_DIR");
    return dir ? dir : ".";
}

// One loaded plug-in and its four exports.
struct Plugin {
    explicit Plugin(const std::string& name)
    {
        handle = dlopen((PluginDir() / name).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return;
        create = reinterpret_cast<CreatePartPrgFn>(dlsym(handle, kExportCreatePartPrg));
        edit = reinterpret_cast<WindowEditFn>(dlsym(handle, kExportWindowEdit));
        help = reinterpret_cast<PeldaHelpContextFn>(dlsym(handle, kExportHelpContext));
        count = reinterpret_cast<PeldaHelpNumFn>(dlsym(handle, kExportHelpNum));
    }
    ~Plugin()
    {
        PeldaGetApp().CloseAllPartDialogs();
        if (handle)
            dlclose(handle);
    }
    void* handle = nullptr;
    CreatePartPrgFn create = nullptr;
    WindowEditFn edit = nullptr;
    PeldaHelpContextFn help = nullptr;
    PeldaHelpNumFn count = nullptr;
};

class PluginExportsTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        PartSystemSeed seed;
        std::string error;
        ASSERT_TRUE(seed.Load(SourceDir() / "examples/parthost/testplugin.json", error)) << error;
        auto system = seed.Apply(Root() / "ps.db", error);
        ASSERT_TRUE(system) << error;
        PeldaGetApp().SetCurPartSysNo(PeldaGetApp().AddPartSystem(std::move(system), "test"));
        PeldaGetApp().SetPluginDataDir(PluginDir());
    }

    WORD RunDoCalc(const Plugin& plugin, WORD program, DWORD part, DWORD flags)
    {
        CVApp& app = PeldaGetApp();
        PartData data;
        EXPECT_TRUE(CPartDB(GetCurrentPartSystem(), program).Get(part, &data, 0));
        std::unique_ptr<CVSvyPartPrg> object(plugin.create(app.GetDocument()));
        object->SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
        return object->DoCalc(data, flags, "");
    }
};

TEST_F(PluginExportsTest, TwoPluginsInOneProcessKeepTheirOwnCode)
{
    Plugin a("ModTestA.so");
    Plugin b("ModTestB.so");
    ASSERT_TRUE(a.handle && b.handle) << dlerror();
    ASSERT_TRUE(a.create && a.edit && a.help && a.count);
    ASSERT_TRUE(b.create && b.edit && b.help && b.count);
    EXPECT_FALSE(dlsym(a.handle, "_ZN8plugcommon11PartProgram6DoCalcERK8PartDatajPKc"))
        << "nothing but the four entries is exported";

    EXPECT_EQ(RunDoCalc(a, 9101, 1, 0x02), 0);
    EXPECT_EQ(RunDoCalc(b, 9102, 3, 0x02), 0);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], "報告1 テスト評価表A [A]|処理が正常に行われました。");
    EXPECT_EQ(Messages()[1], "報告3 テスト評価表B [B]|処理が正常に行われました。");

    TPeldaHelpContext topic;
    a.help(0, &topic);
    EXPECT_EQ(topic.module, "MODTESTA.SO");
    b.help(1, &topic);
    EXPECT_EQ(topic.module, "MODTESTB.SO");
    EXPECT_EQ(topic.index, 1);
    EXPECT_EQ(topic.topic, "テスト評価表");
}

// Every plug-in built into the plug-in folder exports its four entries and nothing else.
TEST(PluginSymbolsTest, EachPluginExportsOnlyItsFourEntries)
{
    if (std::system("nm --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "nm is not installed";
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PluginDir())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".so" || name == "docshelf.so")
            continue;
        std::string symbols;
        const std::string command = "nm -D --defined-only '" + entry.path().string() + "' | awk '{print $3}' | LC_ALL=C sort";
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
                symbols.append(buffer, n);
            pclose(pipe);
        }
        EXPECT_EQ(symbols, "CREATEPARTPRG\nWINDOWEDIT\n___PELDAHELP_CONTEXT\n___PELDAHELP_NUM\n") << name;
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

TEST_F(PluginExportsTest, AFailedEvaluationAnswers4AfterItsErrorBox)
{
    Plugin a("ModTestA.so");
    ASSERT_TRUE(a.create);
    EXPECT_EQ(RunDoCalc(a, 9101, 2, 0x03), 4);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "報告2 テスト評価表A [A]|製品名がありません。");
}

TEST_F(PluginExportsTest, HelpContextOutsideTheTableLeavesOutUnchanged)
{
    Plugin a("ModTestA.so");
    ASSERT_TRUE(a.help);
    EXPECT_EQ(a.count(), 2);
    TPeldaHelpContext out;
    out.kind = 77;
    out.topic = "unchanged";
    for (int index : {-1, 2, 1000}) {
        EXPECT_EQ(a.help(index, &out), &out);
        EXPECT_EQ(out.kind, 77);
        EXPECT_EQ(out.topic, "unchanged");
    }
    EXPECT_EQ(a.help(0, nullptr), nullptr);
}

TEST_F(PluginExportsTest, WindowEditOpensTheDialogAndPushesHelp)
{
    Plugin a("ModTestA.so");
    VCmdData cmd(9101, 1);
    EXPECT_EQ(a.edit(&cmd), 1);
    EXPECT_EQ(PeldaGetApp().PartDialogs().size(), 1u);
    ASSERT_EQ(cmd.GetHelpManager().Topics().size(), 1u);
    EXPECT_EQ(cmd.GetHelpManager().Topics()[0].topic, "テスト評価表-メインヘルプ");
    PeldaGetApp().SetCurPartSysNo(0);
    EXPECT_EQ(a.edit(&cmd), 0) << "no part system";
}

// A dialog whose creation fails, and a database that counts its deletion.
int g_databasesDeleted = 0;
int g_dialogsDeleted = 0;

class CountingDB : public CTabParamDB {
public:
    using CTabParamDB::CTabParamDB;
    ~CountingDB() override { ++g_databasesDeleted; }
};

class FailingDlg : public CSvyPartDlg {
public:
    using CSvyPartDlg::CSvyPartDlg;
    ~FailingDlg() override { ++g_dialogsDeleted; }
    BOOL OnInitDialog() override { return 0; }
};

const plugcommon::PluginTable kTable{9101, "M.SO", "t0", "t1", 33, 32, "c", "s", "L", "\\X.INI",
                                     {"a", "b", "c", "d", "e", "f", "g"}, "x(", "X.CSV", "done"};

TEST_F(PluginExportsTest, WindowEditDeletesDialogAndDatabaseWhenCreateFails)
{
    const plugcommon::PluginEntry entry{
        kTable, [](CVPartDocument*) -> CVSvyPartPrg* { return nullptr; },
        [](PartSystem* handle) -> std::unique_ptr<CTabParamDB> { return std::make_unique<CountingDB>(handle, 9101); },
        [](VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode) -> CVPartDlg* {
            return new FailingDlg(cmd, std::move(db), 26000, parent, mode, 0x301, 0);
        }};
    g_databasesDeleted = 0;
    g_dialogsDeleted = 0;
    VCmdData cmd(9101, 1);
    EXPECT_EQ(plugcommon::WindowEditExport(entry, &cmd), 0);
    EXPECT_EQ(g_dialogsDeleted, 1);
    EXPECT_EQ(g_databasesDeleted, 1);
    EXPECT_TRUE(PeldaGetApp().PartDialogs().empty());
    EXPECT_TRUE(cmd.GetHelpManager().Topics().empty());
}

} // namespace
