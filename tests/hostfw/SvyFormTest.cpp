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
    form.PutField(2, std::string(300, 'W') + "長すぎる文", 0);   // shrinks, then clips
    form.PutField(99, "no such field", 0);
    ASSERT_TRUE(form.CloseDoc()) << form.LastError();
    ASSERT_EQ(form.WrittenFiles().size(), 1u);
    const std::string text = PdfText(form.WrittenFiles()[0]);
    const auto first = text.find("一行目の文");
    const auto second = text.find("二行目の文");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_NE(text.substr(first, second - first).find('\n'), std::string::npos) << "on two lines";
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
