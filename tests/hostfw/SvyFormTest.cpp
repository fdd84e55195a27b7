#include "HostTestSupport.h"

#include "hostfw/FormServices.h"
#include "hostfw/SvyForm.h"

#include <cstdio>

namespace {

using SvyFormTest = HostTest;

constexpr const char* kTemplate = R"({ "page": { "width_mm": 210, "height_mm": 297 },
  "fields": [ { "no": 1, "x_mm": 20, "y_mm": 20, "w_mm": 120, "h_mm": 20, "pt": 12 },
              { "no": 2, "x_mm": 20, "y_mm": 50, "w_mm": 30, "h_mm": 6, "pt": 12 } ] })";

std::string PdfText(const std::filesystem::path& pdf)
{
    const std::string command = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

TEST_F(SvyFormTest, RendersAPdfWhoseTextShowsATwoLineField)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    WriteFile("forms/form04827.frm", kTemplate);
    SetFormsFolder(Root() / "forms");
    SetFormOutputFolder(Root() / "out");
    ASSERT_EQ(GetFormCnt(4827, 0), 1);
    std::string name;
    ASSERT_TRUE(GetFormFileName(4827, 0, name, 0));

    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(4827, "form04827.frm", "表題", ""), -1) << form.LastError();
    form.PutField(1, "一行目の文\r\n二行目の文", 0);
    ASSERT_TRUE(form.CloseDoc()) << form.LastError();
    ASSERT_EQ(form.WrittenFiles().size(), 1u);
    const std::string text = PdfText(form.WrittenFiles()[0]);
    const auto first = text.find("一行目の文");
    const auto second = text.find("二行目の文");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.substr(first, second - first).find('\n'), std::string::npos) << "on two lines";
}

// Collects the form lines the engine reports, for one test.
struct ReportedLines {
    std::vector<std::string> lines;
    ReportedLines()
    {
        SetFormReportHook([this](const std::string& line) { lines.push_back(line); });
    }
    ~ReportedLines() { SetFormReportHook(nullptr); }
    bool Has(const std::string& start) const
    {
        for (const std::string& line : lines)
            if (line.rfind(start, 0) == 0)
                return true;
        return false;
    }
};

TEST_F(SvyFormTest, ABoxTextThatDoesNotFitFailsTheCloseAndIsReported)
{
    WriteFile("form04827.frm", kTemplate);
    SetFormOutputFolder(Root() / "out");
    ReportedLines reported;
    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(4827, (Root() / "form04827.frm").string(), "", ""), -1) << form.LastError();
    form.PutField(2, std::string(200, 'W') + "長すぎる文", 0);
    EXPECT_EQ(form.CloseDoc(), 0);
    EXPECT_NE(form.LastError().find("field 2"), std::string::npos) << form.LastError();
    EXPECT_TRUE(reported.Has("FORM-OVERFLOW form04827.pdf field 2: WWW")) << ::testing::PrintToString(reported.lines);
    EXPECT_TRUE(std::filesystem::exists(Root() / "out" / "form04827.pdf")) << "written for the person to see";
}

// A field holds 254 CP932 bytes (char[255]): a longer text, such as a measured value
// of 1e300 printed in full, is refused; the document then fails at its close without
// writing a PDF, and a form written before under that name stays as it was.
TEST_F(SvyFormTest, AFieldTextOverTheFieldsBytesIsRefusedAndNoPdfIsWritten)
{
    WriteFile("form00963.frm", R"({ "tables": [ { "caption": "位置", "rows": [ { "caption": "結果", "no": 66 } ] } ] })");
    SetFormOutputFolder(Root() / "out");
    ReportedLines reported;
    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(963, (Root() / "form00963.frm").string(), "", ""), -1) << form.LastError();
    EXPECT_EQ(form.PutField(66, "環閉合差 " + std::string(243, '9') + "mm", 0), 1) << "254 bytes fit";
    ASSERT_EQ(form.CloseDoc(), 1) << form.LastError();
    const std::filesystem::path pdf = Root() / "out" / "form00963.pdf";
    const std::string before = ReadFile(pdf);

    SvyForm again(32, 0x1110000, 0);
    ASSERT_NE(again.CreateDoc(963, (Root() / "form00963.frm").string(), "", ""), -1);
    EXPECT_EQ(again.PutField(66, "環閉合差 " + std::string(244, '9') + "mm", 0), 0);
    EXPECT_EQ(again.CloseDoc(), 0);
    EXPECT_NE(again.LastError().find("field 66"), std::string::npos) << again.LastError();
    EXPECT_TRUE(reported.Has("FORM-REFUSED form00963 field 66: 環閉合差 999")) << ::testing::PrintToString(reported.lines);
    EXPECT_TRUE(again.WrittenFiles().empty());
    EXPECT_EQ(ReadFile(pdf), before) << "the earlier form is untouched";
}

TEST_F(SvyFormTest, AFieldWithoutAPlaceIsReportedButPrints)
{
    WriteFile("form04827.frm", kTemplate);
    SetFormOutputFolder(Root() / "out");
    ReportedLines reported;
    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(4827, (Root() / "form04827.frm").string(), "", ""), -1);
    form.PutField(1, "値", 0);
    form.PutField(99, "no such field", 0);
    form.PutField(98, "", 0);
    EXPECT_EQ(form.CloseDoc(), 1) << form.LastError();
    EXPECT_TRUE(reported.Has("FORM-UNPLACED form04827.pdf field 99"));
    EXPECT_FALSE(reported.Has("FORM-UNPLACED form04827.pdf field 98")) << "an empty text needs no place";
}

TEST_F(SvyFormTest, TableCellsWrapAndGrowWithTheCaptionOnTheSameRow)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    WriteFile("form00963.frm", R"({ "page": { "width_mm": 210, "height_mm": 297 }, "title": "水準測量 品質評価表",
      "caption_width_mm": 50, "pt": 9,
      "tables": [ { "caption": "位置正確度", "rows": [ { "caption": "絶対位置正確度 結果", "no": 63 },
                                                      { "caption": "要求", "no": [23, 27, 70] } ] } ] })");
    SetFormOutputFolder(Root() / "out");
    SetFormLayoutReports(true);
    ReportedLines reported;
    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(963, (Root() / "form00963.frm").string(), "", ""), -1) << form.LastError();
    // Seven sentences: 224 bytes, as much as a field holds, over several lines.
    std::string longText;
    for (int i = 0; i < 7; ++i)
        longText += "往復観測値の較差が2.5mm√S以内、";
    form.PutField(63, longText, 0);
    form.PutField(23, "一行目", 0);
    form.PutField(70, "三行目", 0);
    const int closed = form.CloseDoc();
    SetFormLayoutReports(false);
    ASSERT_EQ(closed, 1) << form.LastError();
    EXPECT_FALSE(reported.Has("FORM-OVERFLOW"));
    const std::string text = PdfText(form.WrittenFiles()[0]);
    // The caption on the first line of its row, and the long value in whole sentences.
    const auto caption = text.find("絶対位置正確度 結果");
    ASSERT_NE(caption, std::string::npos) << text;
    EXPECT_NE(text.substr(caption, text.find('\n', caption) - caption).find("往復観測値"), std::string::npos) << text;
    const std::string report = ReadFile(Root() / "out" / "form00963.layout.json");
    EXPECT_NE(report.find("\"一行目\""), std::string::npos) << report;
    EXPECT_NE(report.find("\"三行目\""), std::string::npos) << report;
    EXPECT_EQ(report.find("\"fits\": false"), std::string::npos) << report;
}

TEST_F(SvyFormTest, TablesGoOnOverPagesAndARowTallerThanAPageIsReported)
{
    WriteFile("form00519.frm", R"({ "page": { "width_mm": 100, "height_mm": 80, "margin_mm": 10 },
      "caption_width_mm": 30, "tables": [ { "caption": "完全性", "rows": [
        { "caption": "一", "no": 1 }, { "caption": "二", "no": 2 }, { "caption": "三", "no": 3 } ] } ] })");
    SetFormOutputFolder(Root() / "out");
    ReportedLines reported;
    SvyForm form(32, 0x1110000, 0);
    ASSERT_NE(form.CreateDoc(519, (Root() / "form00519.frm").string(), "", ""), -1) << form.LastError();
    std::string tall;
    for (int i = 0; i < 6; ++i)
        tall += "六行の値\n";
    form.PutField(1, tall, 0);
    form.PutField(2, tall, 0);
    EXPECT_EQ(form.CloseDoc(), 1) << "two tall rows take a page each: " << form.LastError();
    EXPECT_FALSE(reported.Has("FORM-OVERFLOW"));

    ASSERT_NE(form.CreateDoc(519, (Root() / "form00519.frm").string(), "", ""), -1);
    form.PutField(3, tall + tall + tall, 0);
    EXPECT_EQ(form.CloseDoc(), 0);
    EXPECT_TRUE(reported.Has("FORM-OVERFLOW form00519_2.pdf field 3: 六行の値"))
        << ::testing::PrintToString(reported.lines);
}

TEST_F(SvyFormTest, TemplatesAskingForPrintUnderEightPointAreRefused)
{
    WriteFile("small.frm", R"({ "fields": [ { "no": 1, "x_mm": 1, "y_mm": 1, "w_mm": 9, "h_mm": 9, "pt": 7 } ] })");
    WriteFile("smalltable.frm", R"({ "pt": 6, "tables": [ { "caption": "x", "rows": [ { "caption": "a", "no": 1 } ] } ] })");
    WriteFile("badrow.frm", R"({ "tables": [ { "caption": "x", "rows": [ { "caption": "a", "no": [] } ] } ] })");
    SvyForm form(32, 0x1110000, 0);
    for (const char* name : {"small.frm", "smalltable.frm", "badrow.frm"})
        EXPECT_EQ(form.CreateDoc(4827, (Root() / name).string(), "", ""), -1) << name;
}

TEST_F(SvyFormTest, MissingOrBadTemplateAnswersMinusOne)
{
    SetFormsFolder(Root());
    SvyForm form(32, 0x1110000, 0);
    EXPECT_EQ(form.CreateDoc(4827, "none.frm", "", ""), -1);
    EXPECT_NE(form.LastError().find("none.frm"), std::string::npos);
    WriteFile("bad.frm", R"({ "fields": [ { "no": 0 } ] })");
    EXPECT_EQ(form.CreateDoc(4827, "bad.frm", "", ""), -1);
    WriteFile("trunc.frm", R"({ "fields": [ )");
    EXPECT_EQ(form.CreateDoc(4827, "trunc.frm", "", ""), -1);
    EXPECT_EQ(form.PutField(1, "x", 0), 0) << "no document is open";
    EXPECT_EQ(form.CloseDoc(), 0);
    EXPECT_EQ(GetFormCnt(4827, 0), 0) << "only formNNNNN*.frm files count";
}

} // namespace
