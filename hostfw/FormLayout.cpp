#include "hostfw/FormLayout.h"

#include "hostfw/FormTemplate.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <set>

namespace {

constexpr double kPaddingMm = 1.2;
constexpr double kTitlePointSize = 14;
constexpr double kTableGapMm = 4;
constexpr double kTitleGapMm = 6;
constexpr double kFolioGapMm = 2;

// Characters no line may start with: closing brackets and quotes, Japanese and Latin
// punctuation that ends a phrase, small kana, iteration and prolonged sound marks, and
// the signs written after a number.
bool IsNoLineStart(QChar c)
{
    static const QString kChars = QString::fromUtf8(
        "、。，．・：；？！）」』】〕〉》〙〗｝］”’ー～"
        "ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿゝゞヽヾ々〻"
        "″′°℃％‰),.:;!?]}%");
    return kChars.contains(c);
}

// Characters no line may end with: opening brackets and quotes.
bool IsNoLineEnd(QChar c)
{
    static const QString kChars = QString::fromUtf8("（「『【〔〈《〘〖｛［“‘([{");
    return kChars.contains(c);
}

bool IsSpace(QChar c)
{
    return c == ' ' || c == '\t' || c == QChar(0x3000);
}

bool IsDigit(QChar c)
{
    return (c >= '0' && c <= '9') || (c >= QChar(0xFF10) && c <= QChar(0xFF19));
}

// Letters of words and units written in Latin or Greek, half or full width.
bool IsLetter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= 0xFF21 && u <= 0xFF3A) ||
           (u >= 0xFF41 && u <= 0xFF5A) || (u >= 0x0391 && u <= 0x03C9);
}

// Signs that belong to a number or its unit: units in one character, the root of the
// tolerances' "√S", and the joins inside a number.
bool IsUnitSign(QChar c)
{
    static const QString kChars = QString::fromUtf8("″′°℃%％‰㎜㎝㎞㎡㎎㎏√μ.,．＋+−-±×/／");
    return kChars.contains(c);
}

bool IsWordPart(QChar c)
{
    return IsDigit(c) || IsLetter(c) || IsUnitSign(c);
}

// A number starts at i: a digit, or a sign directly before one.
bool StartsNumber(const QString& text, qsizetype i)
{
    if (i >= text.size())
        return false;
    const QChar c = text[i];
    if (IsDigit(c))
        return true;
    const bool sign = c == '+' || c == '-' || c == QChar(0x2212) || c == QChar(0xFF0B) || c == QChar(0xB1);
    return sign && i + 1 < text.size() && IsDigit(text[i + 1]);
}

qsizetype SkipSpaces(const QString& text, qsizetype i);

bool IsKanji(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || u == 0x3005;
}

// The longest run of kanji taken as the label of a number ("較差", "標準偏差").
constexpr qsizetype kLongestLabel = 6;

// Whether i falls inside a short kanji label that a number follows, directly or after
// spaces: "較差0″" and "較差 0″" stay whole.
bool InsideLabelledNumber(const QString& text, qsizetype i)
{
    if (!IsKanji(text[i - 1]))
        return false;
    qsizetype first = i - 1;
    while (first > 0 && IsKanji(text[first - 1]))
        --first;
    qsizetype end = i;
    while (end < text.size() && IsKanji(text[end]))
        ++end;
    if (end - first > kLongestLabel)
        return false;
    return StartsNumber(text, SkipSpaces(text, end));
}

// The longest run of kanji taken as the suffix of a number ("以内", "以上").
constexpr qsizetype kLongestSuffix = 2;

// Whether i falls before or inside a short kanji run written straight after a number or
// its unit: "200mm以内" stays whole.
bool InsideNumberSuffix(const QString& text, qsizetype i)
{
    if (!IsKanji(text[i]))
        return false;
    qsizetype first = i;
    while (first > 0 && IsKanji(text[first - 1]))
        --first;
    if (first == 0 || !(IsDigit(text[first - 1]) || IsLetter(text[first - 1]) || IsUnitSign(text[first - 1])))
        return false;
    qsizetype end = i;
    while (end < text.size() && IsKanji(text[end]))
        ++end;
    return end - first <= kLongestSuffix;
}

// Whether the rules let a line end before text[i] (0 < i < size).
bool MayBreakBefore(const QString& text, qsizetype i)
{
    const QChar a = text[i - 1];
    const QChar b = text[i];
    if (b.isLowSurrogate() || IsSpace(b) || IsNoLineStart(b) || IsNoLineEnd(a))
        return false;
    if (InsideLabelledNumber(text, i) || InsideNumberSuffix(text, i))
        return false;
    if (IsSpace(a))
        return !StartsNumber(text, i);   // a label and its number stay on one line: "較差 0″"
    if (IsWordPart(a) && IsWordPart(b))
        return false;                    // a word, or a number with its unit
    if (StartsNumber(text, i))
        return a.unicode() >= 0x3000 && IsNoLineStart(a);   // only after punctuation: "、3mm"
    return true;
}

// The weakest rule, for a run longer than a line: never before closing punctuation,
// never after an opening bracket, never inside a character.
bool MayForceBreakBefore(const QString& text, qsizetype i)
{
    return !text[i].isLowSurrogate() && !IsNoLineStart(text[i]) && !IsNoLineEnd(text[i - 1]);
}

QString RightTrimmed(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && IsSpace(text[end - 1]))
        --end;
    return text.left(end);
}

qsizetype SkipSpaces(const QString& text, qsizetype i)
{
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

int VisibleCount(const QString& text)
{
    int count = 0;
    for (const QChar c : text)
        count += IsSpace(c) || c.isLowSurrogate() ? 0 : 1;
    return count;
}

// The texts of a row's fields, one after the other, each without its trailing line
// breaks; unwritten fields add nothing.
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

struct FormLayout::MeasuredRow {
    FormPiece name;
    FormPiece value;
    double height = 0;
};

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

QStringList FormLayout::BreakLine(const QString& text, double width,
                                  const std::function<double(const QString&)>& advance)
{
    const auto fits = [&](qsizetype from, qsizetype to) {
        return advance(RightTrimmed(text.mid(from, to - from))) <= width + 0.01;
    };
    std::vector<qsizetype> starts;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start < n) {
        starts.push_back(start);
        qsizetype fitEnd = start;
        while (fitEnd < n && fits(start, fitEnd + 1))
            ++fitEnd;
        if (fitEnd >= n)
            break;
        qsizetype end = 0;
        for (qsizetype e = fitEnd; e > start && end == 0; --e)
            if (e < n && MayBreakBefore(text, e))
                end = e;
        for (qsizetype e = fitEnd; e > start && end == 0; --e)
            if (MayForceBreakBefore(text, e))
                end = e;
        if (end == 0)
            end = std::max(fitEnd, start + (text[start].isHighSurrogate() ? 2 : 1));
        start = SkipSpaces(text, end);
    }
    // A last line of one character takes company from the line above when that line
    // can give it and the two still fit.
    if (starts.size() >= 2 && VisibleCount(text.mid(starts.back())) == 1) {
        const qsizetype above = starts[starts.size() - 2];
        for (qsizetype e = starts.back() - 1; e > above; --e) {
            if (!MayBreakBefore(text, e) || VisibleCount(text.mid(above, e - above)) < 2)
                continue;
            if (fits(e, n))
                starts.back() = e;
            break;
        }
    }
    QStringList lines;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const qsizetype to = k + 1 < starts.size() ? starts[k + 1] : n;
        lines << RightTrimmed(text.mid(starts[k], to - starts[k]));
    }
    return lines;
}

QStringList FormLayout::Wrap(const QString& text, const QFont& font, double width, std::vector<bool>* wrapped) const
{
    QString all = text;
    all.replace("\r\n", "\n");
    all.replace('\r', '\n');
    const QFontMetricsF metrics(font, &m_device);
    const auto advance = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
    QStringList out;
    if (wrapped)
        wrapped->clear();
    for (const QString& paragraph : all.split('\n')) {
        // A line of nothing but white space (a text's closing line break, a blank line
        // between pieces) prints as nothing.
        if (RightTrimmed(paragraph).isEmpty())
            continue;
        const QStringList lines = BreakLine(paragraph, width, advance);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            out << lines[i];
            if (wrapped)
                wrapped->push_back(i > 0);
        }
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
    piece.lines = Wrap(text, font, cell.width() - 2 * pad, &piece.wrapped);
    const QFontMetricsF metrics(font, &m_device);
    double widest = 0;
    for (const QString& line : piece.lines)
        widest = std::max(widest, metrics.horizontalAdvance(RightTrimmed(line)));
    const double height = std::max<qsizetype>(1, piece.lines.size()) * metrics.lineSpacing() + 2 * pad;
    piece.cell = QRectF(cell.left(), cell.top(), cell.width(), std::max(cell.height(), height));
    piece.textArea = piece.cell.adjusted(pad, pad, -pad, -pad);
    piece.fits = widest <= piece.textArea.width() + 0.5;
    return piece;
}

void FormLayout::NewPage()
{
    ++m_pages;
    LayTitle();
}

void FormLayout::LayTitle()
{
    m_y = Mm(m_form.MarginMm());
    if (!m_form.Title().empty()) {
        const double left = Mm(m_form.MarginMm());
        const double width = Mm(m_form.PageWidthMm() - 2 * m_form.MarginMm());
        FormPiece title = Cell(FormPiece::Kind::Title, QRectF(left, m_y, width, 0),
                               QString::fromStdString(m_form.Title()), kTitlePointSize, true);
        m_y = title.cell.bottom() + Mm(kTitleGapMm);
        m_pieces.push_back(std::move(title));
    }
    m_pageTop = m_y;
}

double FormLayout::TableBottom() const
{
    // The page number stands in the bottom margin; a margin too narrow for it lifts
    // the foot of the tables instead.
    const double folio = FolioHeight();
    const double margin = Mm(m_form.MarginMm());
    const double foot = Mm(m_form.PageHeightMm()) - margin;
    return margin >= folio + Mm(kFolioGapMm) ? foot : foot - folio - Mm(kFolioGapMm);
}

double FormLayout::FolioHeight() const
{
    return QFontMetricsF(Font(m_form.PointSize(), false), &m_device).lineSpacing() + 2 * Mm(kPaddingMm);
}

void FormLayout::LayFolios()
{
    const double left = Mm(m_form.MarginMm());
    const double width = Mm(m_form.PageWidthMm() - 2 * m_form.MarginMm());
    const double top = TableBottom() + Mm(kFolioGapMm);
    for (int page = 0; page < m_pages; ++page) {
        FormPiece folio = Cell(FormPiece::Kind::Folio, QRectF(left, top, width, 0),
                               QString("%1 / %2").arg(page + 1).arg(m_pages), m_form.PointSize(), false);
        folio.page = page;
        m_pieces.push_back(std::move(folio));
    }
}

void FormLayout::LayTables(const std::map<int, std::string>& fields)
{
    const double left = Mm(m_form.MarginMm());
    const double width = Mm(m_form.PageWidthMm() - 2 * m_form.MarginMm());
    const double captionWidth = Mm(m_form.CaptionWidthMm());
    const double bottom = TableBottom();
    const double pt = m_form.PointSize();
    for (const FormTemplate::Table& table : m_form.Tables()) {
        const QString caption = QString::fromStdString(table.caption);
        // Every row measured once; where it goes is decided below.
        std::vector<MeasuredRow> rows;
        std::vector<double> tops(1, 0.0);   // tops[i]: the rows before row i, stacked
        for (const FormTemplate::Row& row : table.rows) {
            MeasuredRow measured;
            measured.name = Cell(FormPiece::Kind::Caption, QRectF(left, 0, captionWidth, 0),
                                 QString::fromStdString(row.caption), pt, false);
            measured.value = Cell(FormPiece::Kind::Value, QRectF(left + captionWidth, 0, width - captionWidth, 0),
                                  RowText(row.fields, fields), pt, false);
            measured.height = std::max(measured.name.cell.height(), measured.value.cell.height());
            measured.name.cell.setHeight(measured.height);
            measured.value.cell.setHeight(measured.height);
            measured.name.ruled = measured.value.ruled = true;
            measured.value.fields = row.fields;
            measured.value.caption = row.caption;
            tops.push_back(tops.back() + measured.height);
            rows.push_back(std::move(measured));
        }
        const int n = static_cast<int>(rows.size());
        // unitOf[i]: the first row of row i's element (consecutive rows of one element name).
        std::vector<int> unitOf(static_cast<std::size_t>(n), 0);
        for (int i = 0; i < n; ++i) {
            const std::string& element = table.rows[static_cast<std::size_t>(i)].element;
            unitOf[static_cast<std::size_t>(i)] =
                i > 0 && !element.empty() && element == table.rows[static_cast<std::size_t>(i - 1)].element
                    ? unitOf[static_cast<std::size_t>(i - 1)]
                    : i;
        }
        const auto unitEnd = [&](int first) {
            int end = first + 1;
            while (end < n && unitOf[static_cast<std::size_t>(end)] == first)
                ++end;
            return end;
        };
        const auto heightOf = [&](int from, int to) { return tops[static_cast<std::size_t>(to)] - tops[static_cast<std::size_t>(from)]; };
        const FormPiece head = Cell(FormPiece::Kind::Section, QRectF(left, 0, width, 0), caption, pt, true);
        const FormPiece goesOn = Cell(FormPiece::Kind::Section, QRectF(left, 0, width, 0),
                                      caption + QString::fromUtf8("（続き）"), pt, true);

        int start = 0;
        bool continued = false;
        while (start < n) {
            const FormPiece& section = continued ? goesOn : head;
            const double room = bottom - m_y - section.cell.height();
            const double pageRoom = bottom - m_pageTop - section.cell.height();
            const auto fitsHere = [&](int end) { return heightOf(start, end) <= room + 0.5; };
            // A break may fall between elements, or inside an element taller than a page.
            const auto breakable = [&](int end) {
                const int first = unitOf[static_cast<std::size_t>(end)];
                return first == end || heightOf(first, unitEnd(first)) > pageRoom + 0.5;
            };
            int end = start;
            if (fitsHere(n)) {
                end = n;
            } else {
                for (int e = n - 1; e > start && end == start; --e)
                    if (fitsHere(e) && breakable(e) && e - start >= kMinRowsPerPart && n - e >= kMinRowsPerPart)
                        end = e;
                // On a fresh page nothing is won by waiting: the rules give way, the
                // three-row rule first, then the element, then the row.
                for (int e = n - 1; e > start && end == start && AtPageTop(); --e)
                    if (fitsHere(e) && breakable(e))
                        end = e;
                for (int e = n - 1; e > start && end == start && AtPageTop(); --e)
                    if (fitsHere(e))
                        end = e;
                if (end == start && AtPageTop())
                    end = start + 1;
            }
            if (end == start) {
                NewPage();
                continue;
            }
            FormPiece placedSection = section;
            placedSection.ruled = true;
            placedSection.page = m_pages - 1;
            placedSection.cell.moveTop(m_y);
            placedSection.textArea.moveTop(m_y + Mm(kPaddingMm));
            m_y = placedSection.cell.bottom();
            m_pieces.push_back(std::move(placedSection));
            for (int i = start; i < end; ++i) {
                MeasuredRow row = rows[static_cast<std::size_t>(i)];
                for (FormPiece* piece : {&row.name, &row.value}) {
                    piece->page = m_pages - 1;
                    piece->cell.moveTop(m_y);
                    piece->textArea.moveTop(m_y + Mm(kPaddingMm));
                    // Taller than a whole page: laid out, but it cannot be printed whole.
                    if (m_y + row.height > bottom + 0.5)
                        piece->fits = false;
                    m_pieces.push_back(std::move(*piece));
                }
                m_y += row.height;
            }
            start = end;
            continued = true;
            if (start < n)
                NewPage();
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
    LayFolios();
    std::set<int> placed;
    for (const FormPiece& piece : m_pieces)
        placed.insert(piece.fields.begin(), piece.fields.end());
    for (const auto& [no, text] : fields)
        if (!text.empty() && placed.count(no) == 0)
            m_unplaced.push_back(no);
}
