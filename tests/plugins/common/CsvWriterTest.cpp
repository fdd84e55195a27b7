#include "HostTestSupport.h"

#include "plugins/common/CsvWriter.h"

namespace {

using plugcommon::CsvWriter;
using CsvWriterTest = HostTest;

TEST_F(CsvWriterTest, LinesAreCp932WithCrlfQuotesDoubledAndBreaksRemoved)
{
    const std::string path = (Root() / "out.csv").string();
    CsvWriter out;
    ASSERT_EQ(out.Open(path), CsvWriter::kNoError);
    EXPECT_EQ(out.WriteValueLine("P/", "tag,ラベル,", "a\"b\r\nc\rd\ne"), CsvWriter::kNoError);
    EXPECT_EQ(out.WriteFieldLine("F,", ""), CsvWriter::kNoError);
    EXPECT_EQ(out.WriteElementLine("E[", 12, "]/x,", "値"), CsvWriter::kNoError);
    // The longest line the 512-byte line buffer takes with its line feed and terminator.
    const std::string longValue(CsvWriter::kLongestLineBytes - std::string("P/long,\"\"").size(), 'v');
    EXPECT_EQ(out.WriteValueLine("P/", "long,", longValue), CsvWriter::kNoError);
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing appears before Close";
    ASSERT_TRUE(out.Close());
    const std::string expected = "P/tag,\x83\x89\x83\x78\x83\x8b,\"a\"\"bcde\"\r\n"
                                 "F,\"\"\r\n"
                                 "E[12]/x,\"\x92\x6c\"\r\n"
                                 "P/long,\"" + longValue + "\"\r\n";
    EXPECT_EQ(ReadFile(path), expected);
}

TEST_F(CsvWriterTest, UnencodableOrEmptyLinesAreWriteErrors)
{
    CsvWriter out;
    ASSERT_EQ(out.Open((Root() / "out.csv").string()), CsvWriter::kNoError);
    EXPECT_EQ(out.WriteValueLine("P/", "t,", "\xF0\x9F\x98\x80"), CsvWriter::kWriteError);
    EXPECT_EQ(out.WriteLine(""), CsvWriter::kWriteError);
}

// A line one byte over the buffer (counted in CP932 bytes, so a double-byte character
// counts twice) is a write error: nothing of it is written and the file is not made.
TEST_F(CsvWriterTest, ALineLongerThanTheLineBufferIsAWriteError)
{
    struct Case {
        const char* name;
        std::string value;   // the quoted value of "P/t,\"…\""
    };
    const std::size_t room = CsvWriter::kLongestLineBytes - std::string("P/t,\"\"").size();
    std::string wide;
    for (std::size_t i = 0; i < room / 2; ++i)
        wide += "値";
    const Case cases[] = {
        {"one byte over", std::string(room + 1, 'v')},
        {"double-byte over", wide + "値"},
        {"three hundred digits", std::string(301, '1') + "mm" + std::string(300, '0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (Root() / "long.csv").string();
        CsvWriter out;
        ASSERT_EQ(out.Open(path), CsvWriter::kNoError);
        ASSERT_EQ(out.WriteValueLine("P/", "t,", "short"), CsvWriter::kNoError);
        EXPECT_EQ(out.WriteValueLine("P/", "t,", c.value), CsvWriter::kWriteError);
        out.Abort(CsvWriter::kWriteError);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST_F(CsvWriterTest, OpenFailsWithoutAFolderAndAbortDeletesWithItsMessage)
{
    CsvWriter out;
    EXPECT_EQ(out.Open((Root() / "missing" / "out.csv").string()), CsvWriter::kOpenError);
    const auto path = WriteFile("old.csv", "previous");
    ASSERT_EQ(out.Open(path.string()), CsvWriter::kNoError);
    out.WriteLine("x");
    out.Abort(CsvWriter::kWriteError);
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "エラーメッセージ|ライトエラーが発生しました");
}

} // namespace
