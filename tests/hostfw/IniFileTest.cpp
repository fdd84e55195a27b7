#include "HostTestSupport.h"

#include "hostfw/IniBatchWriter.h"
#include "hostfw/IniFile.h"

namespace {

using IniFileTest = HostTest;

// "ア" is 83 41 and "ヂ" 83 61 in CP932: folding bytes would make them one key.
const std::string kKeys = "[S]\r\n\x83\x41=a\r\n\x83\x61=di\r\n";

TEST_F(IniFileTest, KeysDifferingOnlyInCp932TrailBytesStayApart)
{
    const auto path = WriteFile("k.ini", kKeys);
    IniFile ini;
    std::string error;
    ASSERT_TRUE(ini.Load(path, error));
    EXPECT_EQ(ini.Get("S", "ア").value_or("?"), "a");
    EXPECT_EQ(ini.Get("S", "ヂ").value_or("?"), "di");
    EXPECT_EQ(ini.Get("s", "ア").value_or("?"), "a") << "ASCII names fold case";
}

TEST_F(IniFileTest, WindowsProfileRules)
{
    const auto path = WriteFile("p.ini", "; note\r\n[Sec]\r\nKey =  \"quoted value\" \r\nkey=second\r\n"
                                         "bad=\x83\r\n[sec]\r\nother=x\r\n");
    IniFile ini;
    std::string error;
    ASSERT_TRUE(ini.Load(path, error));
    EXPECT_EQ(ini.Get("SEC", "KEY").value_or("?"), "quoted value") << "first key wins, trimmed, unquoted";
    EXPECT_FALSE(ini.Get("Sec", "other")) << "the first matching section wins";
    EXPECT_FALSE(ini.Get("Sec", "bad")) << "an undecodable value is missing";

    ASSERT_TRUE(ini.Set("Sec", "新しい", "値"));
    ASSERT_TRUE(ini.Set("Sec", "Key", "changed"));
    EXPECT_FALSE(ini.Set("Sec", "x", "\xF0\x9F\x98\x80")) << "no character outside CP932";
    ASSERT_TRUE(ini.Save(path, error)) << error;
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.rfind("; note\r\n[Sec]\r\nKey=changed\r\nkey=second\r\nbad=\x83\r\n", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("\x90\x56\x82\xb5\x82\xa2=\x92\x6c\r\n[sec]"), std::string::npos)
        << "a new key goes after the section's last key, in CP932";
}

TEST_F(IniFileTest, GarbledBytesReadAsMissingValuesAndSurviveAWrite)
{
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    const auto path = WriteFile("junk.ini", junk + "\r\n[S]\r\nk=v\r\n");
    IniFile ini;
    std::string error;
    ASSERT_TRUE(ini.Load(path, error));
    EXPECT_EQ(ini.Get("S", "k").value_or("?"), "v");
    EXPECT_FALSE(ini.Get("S", "none"));
    ASSERT_TRUE(ini.Set("S", "k", "w"));
    ASSERT_TRUE(ini.Save(path, error));
    EXPECT_EQ(ReadFile(path).substr(0, 100), junk.substr(0, 100)) << "lines it does not own are kept";
}

TEST_F(IniFileTest, MissingFileIsEmptyAndProfileCallsFallBack)
{
    const std::string file = (Root() / "none.ini").string();
    EXPECT_EQ(V_GetProfileString("S", "K", "def", file), "def");
    EXPECT_TRUE(V_WriteProfileInt("S", "K", -5, file));
    EXPECT_EQ(V_GetProfileString("S", "K", "def", file), "-5");
    EXPECT_EQ(ReadFile(file), "[S]\r\nK=-5\r\n");
}

TEST_F(IniFileTest, BatchWriterReplacesTheFileOnceOnCommit)
{
    const auto path = WriteFile("b.ini", kKeys);
    IniBatchWriter writer(path);
    ASSERT_TRUE(writer.IsReadable());
    for (int i = 0; i < 64; ++i)
        writer.WriteInt("T", "k" + std::to_string(i), i);
    EXPECT_EQ(ReadFile(path), kKeys) << "nothing reaches the disk before Commit";
    std::string error;
    ASSERT_TRUE(writer.Commit(error)) << error;
    IniFile ini;
    ASSERT_TRUE(ini.Load(path, error));
    EXPECT_EQ(ini.Get("T", "k63").value_or("?"), "63");
    EXPECT_EQ(ini.Get("S", "ヂ").value_or("?"), "di");
}

} // namespace
