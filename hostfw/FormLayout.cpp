#include "hostfw/FormLayout.h"

#include "hostfw/FormTemplate.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextLayout>

#include <algorithm>
#include <set>

namespace {

constexpr double kPaddingMm = 1.2;
constexpr double kTitlePointSize = 14;
constexpr double kTableGapMm = 4;
constexpr double kTitleGapMm = 6;

// The texts of a row's fields, one after the other; unwritten fields add nothing.
QString RowText(const std::vector<int>& numbers, const std::map<int, std::string>& fields)
{
    QStringList parts;
    for (int no : numbers) {
        const auto it = fields.find(no);
        if (it != fields.end() && !it->second.empty())
            parts << QString::fromStdString(it->second);
    }
    return parts.join('\n');
}

} // namespace

FormLayout::FormLayout(const FormTemplate& form, QPaintDevice& device, const QString& family)
    : m_form(form), m_device(device), m_family(family), m_dpmm(device.logicalDpiY() / 25.4)
{
}

QFont FormLayout::Font(double pt, bool bold) const
{
    QFont font(m_family);
    font.setPointSizeF(pt);
    font.setBold(bold);
    return font;
}

double FormLayout::LineHeight(const QFont& font) const
{
    return QFontMetricsF(font, &m_device).lineSpacing();
}

QStringList FormLayout::Wrap(const QString& text, const QFont& font, double width) const
{
    QString all = text;
    all.replace("\r\n", "\n");
    all.replace('\r', '\n');
    QStringList out;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString& paragraph : all.split('\n')) {
        if (paragraph.isEmpty()) {
            out << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, &m_device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            out << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    return out;
}

FormPiece FormLayout::Cell(FormPiece::Kind kind, const QRectF& cell, const QString& text, double pt, bool bold) const
{
    FormPiece piece;
    piece.kind = kind;
    piece.page = m_pages - 1;
    piece.pt = pt;
    piece.bold = bold;
    const double pad = Mm(kPaddingMm);
    const QFont font = Font(pt, bold);
    piece.lines = Wrap(text, font, cell.width() - 2 * pad);
    const QFontMetricsF metrics(font, &m_device);
    double widest = 0;
    for (const QString& line : piece.lines)
        widest = std::max(widest, metrics.horizontalAdvance(line.trimmed()));
    const double height = std::max<qsizetype>(1, piece.lines.size()) * metrics.lineSpacing() + 2 * pad;
    piece.cell = QRectF(cell.left(), cell.top(), cell.width(), std::max(cell.height(), height));
    piece.textArea = piece.cell.adjusted(pad, pad, -pad, -pad);
    piece.fits = widest <= piece.textArea.width() + 0.5;
    return piece;
}

void FormLayout::NewPage()
{
    ++m_pages;
    m_y = Mm(m_form.MarginMm());
}

void FormLayout::LayTitle()
{
    m_y = Mm(m_form.MarginMm());
    if (m_form.Title().empty())
        return;
    const double left = Mm(m_form.MarginMm());
    const double width = Mm(m_form.PageWidthMm() - 2 * m_form.MarginMm());
    FormPiece title = Cell(FormPiece::Kind::Title, QRectF(left, m_y, width, 0),
                           QString::fromStdString(m_form.Title()), kTitlePointSize, true);
    m_y = title.cell.bottom() + Mm(kTitleGapMm);
    m_pieces.push_back(std::move(title));
}

void FormLayout::LayTables(const std::map<int, std::string>& fields)
{
    const double left = Mm(m_form.MarginMm());
    const double width = Mm(m_form.PageWidthMm() - 2 * m_form.MarginMm());
    const double captionWidth = Mm(m_form.CaptionWidthMm());
    const double bottom = Mm(m_form.PageHeightMm() - m_form.MarginMm());
    const double pt = m_form.PointSize();
    for (const FormTemplate::Table& table : m_form.Tables()) {
        const QString caption = QString::fromStdString(table.caption);
        bool headed = false;
        for (const FormTemplate::Row& row : table.rows) {
            // Lays the row at m_y; a row that reaches the foot goes to the next page.
            for (int attempt = 0; attempt < 2; ++attempt) {
                const double top = m_y;
                std::vector<FormPiece> laid;
                double y = top;
                if (!headed || attempt == 1) {
                    const QString head = headed ? caption + QString::fromUtf8("（続き）") : caption;
                    FormPiece section = Cell(FormPiece::Kind::Section, QRectF(left, y, width, 0), head, pt, true);
                    section.ruled = true;
                    y = section.cell.bottom();
                    laid.push_back(std::move(section));
                }
                FormPiece name = Cell(FormPiece::Kind::Caption, QRectF(left, y, captionWidth, 0),
                                      QString::fromStdString(row.caption), pt, false);
                FormPiece value = Cell(FormPiece::Kind::Value, QRectF(left + captionWidth, y, width - captionWidth, 0),
                                       RowText(row.fields, fields), pt, false);
                const double rowHeight = std::max(name.cell.height(), value.cell.height());
                name.cell.setHeight(rowHeight);
                value.cell.setHeight(rowHeight);
                name.ruled = value.ruled = true;
                value.fields = row.fields;
                value.caption = row.caption;
                const bool atTop = top <= Mm(m_form.MarginMm()) + 0.5;
                if (y + rowHeight > bottom && !atTop && attempt == 0) {
                    NewPage();
                    continue;
                }
                // Taller than a whole page: laid out, but it cannot be printed whole.
                if (y + rowHeight > bottom)
                    value.fits = name.fits = false;
                for (FormPiece& piece : laid)
                    m_pieces.push_back(std::move(piece));
                m_pieces.push_back(std::move(name));
                m_pieces.push_back(std::move(value));
                m_y = y + rowHeight;
                headed = true;
                break;
            }
        }
        m_y += Mm(kTableGapMm);
    }
}

void FormLayout::LayBoxes(const std::map<int, std::string>& fields)
{
    for (const FormTemplate::Label& label : m_form.Labels()) {
        FormTemplate::Box box = label.box;
        if (box.w <= 0)
            box.w = m_form.PageWidthMm() - box.x;
        FormPiece piece = Cell(FormPiece::Kind::Label, QRectF(Mm(box.x), Mm(box.y), Mm(box.w), Mm(box.h)),
                               QString::fromStdString(label.text), box.pt, false);
        piece.page = 0;
        m_pieces.push_back(std::move(piece));
    }
    for (const auto& [no, text] : fields) {
        const FormTemplate::Field* field = m_form.FindField(no);
        if (!field)
            continue;
        const QRectF box(Mm(field->box.x), Mm(field->box.y), Mm(field->box.w), Mm(field->box.h));
        // Smaller print first, down to the floor, before the text is called too long.
        FormPiece piece;
        for (double pt = field->box.pt;; pt -= 0.5) {
            pt = std::max(pt, FormTemplate::kMinPointSize);
            piece = Cell(FormPiece::Kind::Box, box, QString::fromStdString(text), pt, false);
            piece.fits = piece.fits && piece.cell.height() <= box.height() + 0.5;
            if (piece.fits || pt <= FormTemplate::kMinPointSize)
                break;
        }
        piece.cell = box;
        piece.page = 0;
        piece.fields = {no};
        m_pieces.push_back(std::move(piece));
    }
}

void FormLayout::Lay(const std::map<int, std::string>& fields)
{
    m_pieces.clear();
    m_unplaced.clear();
    m_pages = 1;
    LayTitle();
    LayTables(fields);
    LayBoxes(fields);
    std::set<int> placed;
    for (const FormPiece& piece : m_pieces)
        placed.insert(piece.fields.begin(), piece.fields.end());
    for (const auto& [no, text] : fields)
        if (!text.empty() && placed.count(no) == 0)
            m_unplaced.push_back(no);
}
