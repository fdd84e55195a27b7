// Paging of the form tables over a range of page heights: every page carries the title
// and "n / m"; an element's rows share a page unless they are taller than a page's room;
// a table split over pages keeps three rows or more on each.
#include <gtest/gtest.h>

#include "hostfw/FormLayout.h"
#include "hostfw/FormTemplate.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <map>

namespace {

QGuiApplication& App()
{
    static int argc = 1;
    static char name[] = "form_pagination_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

// A quality table: a summary row, then elements of three rows (要求, 方法, 結果); the
// fields of element e's rows carry lines[e] lines each.
std::string Template(double heightMm, int tables, int elements)
{
    std::string json = R"({ "page": { "width_mm": 150, "height_mm": )" + std::to_string(heightMm) +
                       R"(, "margin_mm": 10 }, "title": "品質評価表", "pt": 9, "caption_width_mm": 40, "tables": [)";
    int no = 1;
    for (int t = 0; t < tables; ++t) {
        json += std::string(t ? "," : "") + R"({ "caption": "表)" + std::to_string(t) + R"(", "rows": [ { "caption": "総括", "no": )" +
                std::to_string(no++) + " }";
        for (int e = 0; e < elements; ++e)
            for (const char* kind : {"要求", "方法", "結果"})
                json += R"(, { "caption": "要素)" + std::to_string(e) + " " + kind + R"(", "no": )" + std::to_string(no++) +
                        R"(, "element": "要素)" + std::to_string(e) + R"(" })";
        json += "] }";
    }
    return json + "] }";
}

TEST(FormPaginationTest, EveryPageIsTitledAndNumberedAndNoElementOrFewRowsArePartedAcrossPages)
{
    App();
    QTemporaryDir dir;
    const int tables = 3, elements = 4;
    std::map<int, std::string> fields;
    int no = 1;
    for (int t = 0; t < tables; ++t) {
        fields[no++] = "総括の値";
        for (int e = 0; e < elements; ++e)
            for (int r = 0; r < 3; ++r) {
                std::string text = "値";
                for (int line = 1; line < 1 + (e * 3 + r + t) % 4; ++line)
                    text += "\r\n続きの行";
                fields[no++] = text;
            }
    }
    int multiPage = 0;
    // From a page whose room takes the tallest element with the summary row (3 rows of
    // 4 lines and one of 1) up to a long sheet; smaller pages leave the rules no way out.
    for (double height = 120; height <= 300; height += 6) {
        SCOPED_TRACE("page height " + std::to_string(height));
        const std::string path = dir.filePath("form.frm").toStdString();
        std::ofstream(path) << Template(height, tables, elements);
        FormTemplate form;
        std::string error;
        ASSERT_TRUE(form.Load(path, error)) << error;
        QImage device(10, 10, QImage::Format_RGB32);
        device.setDotsPerMeterX(11811);   // 300 dpi
        device.setDotsPerMeterY(11811);
        FormLayout layout(form, device, "IPAGothic");
        layout.Lay(fields);
        const int pages = layout.PageCount();
        multiPage += pages > 1 ? 1 : 0;

        std::map<int, int> titles;
        std::map<int, QString> folios;
        std::map<int, double> roomTop, roomBottom;
        for (const FormPiece& piece : layout.Pieces()) {
            if (piece.kind == FormPiece::Kind::Title)
                ++titles[piece.page];
            if (piece.kind == FormPiece::Kind::Folio) {
                folios[piece.page] = piece.lines.join("");
                roomBottom[piece.page] = piece.cell.top() - 2 * 300 / 25.4;   // the gap above the number
            }
            if (piece.kind == FormPiece::Kind::Section && !roomTop.count(piece.page))
                roomTop[piece.page] = piece.cell.bottom();
        }
        for (int page = 0; page < pages; ++page) {
            EXPECT_EQ(titles[page], 1) << "page " << page + 1;
            EXPECT_EQ(folios[page].toStdString(), QString("%1 / %2").arg(page + 1).arg(pages).toStdString());
        }
        // Rows per table and page; pages and height per element.
        std::map<std::string, std::map<int, int>> tableRows;
        std::map<std::string, std::map<int, int>> elementRows;
        std::map<std::string, double> elementHeight;
        std::map<std::string, int> elementFirstPage;
        std::string table;
        for (const FormPiece& piece : layout.Pieces()) {
            if (piece.kind == FormPiece::Kind::Section)
                table = piece.lines.join("").remove(QString::fromUtf8("（続き）")).toStdString();
            if (piece.kind != FormPiece::Kind::Value)
                continue;
            ++tableRows[table][piece.page];
            const auto space = piece.caption.find(' ');
            if (space == std::string::npos)
                continue;
            const std::string element = table + "/" + piece.caption.substr(0, space);
            if (!elementFirstPage.count(element))
                elementFirstPage[element] = piece.page;
            ++elementRows[element][piece.page];
            elementHeight[element] += piece.cell.height();
        }
        for (const auto& [name, perPage] : tableRows) {
            if (perPage.size() < 2)
                continue;
            for (const auto& [page, rows] : perPage)
                EXPECT_GE(rows, FormLayout::kMinRowsPerPart) << name << " on page " << page + 1;
        }
        for (const auto& [name, perPage] : elementRows) {
            const int page = elementFirstPage[name];
            EXPECT_EQ(perPage.size(), 1u) << name << " parted though it fits a page";
            EXPECT_LT(elementHeight[name], roomBottom[page] - roomTop[page]);
        }
    }
    EXPECT_GT(multiPage, 10) << "the heights tried give forms of several pages";
}

} // namespace
