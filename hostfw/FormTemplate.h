#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <string>
#include <vector>

// Our form template: a JSON file ("*.frm") with the page size and one box per field.
//   { "page": { "width_mm": 210, "height_mm": 297 },
//     "fields": [ { "no": 1, "x_mm": 20, "y_mm": 30, "w_mm": 80, "h_mm": 8, "pt": 10 } ],
//     "labels": [ { "text": "品質評価表", "x_mm": 20, "y_mm": 15, "pt": 14 } ] }
class HOSTFW_API FormTemplate {
public:
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

    // False with error set for a missing, unreadable or malformed file.
    bool Load(const std::filesystem::path& file, std::string& error);

    double PageWidthMm() const { return m_widthMm; }
    double PageHeightMm() const { return m_heightMm; }
    const std::vector<Field>& Fields() const { return m_fields; }
    const std::vector<Label>& Labels() const { return m_labels; }
    const Field* FindField(int no) const;

private:
    double m_widthMm = 210;
    double m_heightMm = 297;
    std::vector<Field> m_fields;
    std::vector<Label> m_labels;
};
