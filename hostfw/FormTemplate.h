#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <string>
#include <vector>

// Our form template: a JSON file ("*.frm"). A report form is laid out by the engine as
// a page title and ruled tables, one row per field with its caption beside the value:
//   { "page": { "width_mm": 210, "height_mm": 297, "margin_mm": 15 },
//     "title": "品質評価表", "pt": 9, "caption_width_mm": 55,
//     "tables": [ { "caption": "製品情報",
//                   "rows": [ { "caption": "製品名", "no": 1 },
//                             { "caption": "過剰 要求", "no": 31, "element": "過剰" },
//                             { "caption": "過剰 方法", "no": 32, "element": "過剰" },
//                             { "caption": "要求", "no": [23, 27, 70] } ] } ] }
// A row with several field numbers shows their written texts one per line. Consecutive
// rows of one "element" are kept on one page. Boxes placed
// by hand are still read for small forms:
//     "fields": [ { "no": 1, "x_mm": 20, "y_mm": 30, "w_mm": 80, "h_mm": 8, "pt": 10 } ],
//     "labels": [ { "text": "品質評価表", "x_mm": 20, "y_mm": 15, "pt": 14 } ]
class HOSTFW_API FormTemplate {
public:
    // Smaller print is not legible on a filed report; templates asking for it are refused.
    static constexpr double kMinPointSize = 8.0;

    struct Box {
        double x = 0, y = 0, w = 0, h = 0;   // millimetres from the page's top left
        double pt = 10;                      // font size in points
    };
    struct Field {
        int no = 0;
        Box box;
    };
    struct Label {
        std::string text;
        Box box;
    };
    struct Row {
        std::string caption;
        std::vector<int> fields;
        std::string element;   // rows of one quality element; "" for a row of its own
    };
    struct Table {
        std::string caption;
        std::vector<Row> rows;
    };

    // False with error set for a missing, unreadable or malformed file.
    bool Load(const std::filesystem::path& file, std::string& error);

    double PageWidthMm() const { return m_widthMm; }
    double PageHeightMm() const { return m_heightMm; }
    double MarginMm() const { return m_marginMm; }
    double PointSize() const { return m_pt; }
    double CaptionWidthMm() const { return m_captionWidthMm; }
    const std::string& Title() const { return m_title; }
    const std::vector<Field>& Fields() const { return m_fields; }
    const std::vector<Label>& Labels() const { return m_labels; }
    const std::vector<Table>& Tables() const { return m_tables; }
    const Field* FindField(int no) const;

private:
    double m_widthMm = 210;
    double m_heightMm = 297;
    double m_marginMm = 15;
    double m_pt = 9;
    double m_captionWidthMm = 55;
    std::string m_title;
    std::vector<Field> m_fields;
    std::vector<Label> m_labels;
    std::vector<Table> m_tables;
};
