#pragma once

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <vector>

class FormTemplate;
class QPaintDevice;

// One laid-out text of a report form: where it stands, in the device units of the
// page it is painted on, and whether it fits its cell.
struct FormPiece {
    enum class Kind { Title, Label, Section, Caption, Value, Box, Folio };
    Kind kind = Kind::Value;
    int page = 0;
    QRectF cell;                // the ruled cell (or the template's box); the text stays inside it
    QRectF textArea;            // the cell less its padding
    double pt = 0;
    bool bold = false;
    bool ruled = false;
    QStringList lines;
    std::vector<bool> wrapped;  // per line: it goes on with the line above (a break the layout chose)
    std::vector<int> fields;    // the fields whose text this piece shows
    std::string caption;        // the row's caption, for a value cell
    bool fits = true;
};

// Lays out a form template with its field texts. Every page starts with the form's
// title and ends with its number ("n / m"); then come the ruled tables, whose cells
// wrap their text and grow. A table that does not fit the rest of a page goes on on the
// next with its caption repeated, and it breaks only between elements (the rows of one
// quality element stay together unless the element alone is taller than a page) and
// only where each page keeps at least three of its rows. Hand-placed boxes wrap in their
// box and shrink no smaller than the template's floor. Nothing is cut: a text that still
// does not fit is laid out as a piece that does not fit, for the caller to report.
class FormLayout {
public:
    // The fewest rows of a table that go on a page when the table is split.
    static constexpr int kMinRowsPerPart = 3;

    FormLayout(const FormTemplate& form, QPaintDevice& device, const QString& family);

    void Lay(const std::map<int, std::string>& fields);

    const std::vector<FormPiece>& Pieces() const { return m_pieces; }
    int PageCount() const { return m_pages; }
    // Written, non-empty fields the template has no place for.
    const std::vector<int>& UnplacedFields() const { return m_unplaced; }

    // Splits at CR, LF and CRLF, drops lines that hold nothing but white space, then
    // wraps each line to width device units (BreakLine). wrapped, when given, gets one
    // flag per line: true for a line the wrap made.
    QStringList Wrap(const QString& text, const QFont& font, double width, std::vector<bool>* wrapped = nullptr) const;

    // Breaks one line of text into lines no wider than width by the Japanese rules: no
    // line starts with closing punctuation, a small kana or a prolonged sound mark, none
    // ends with an opening bracket; a number stays with its unit, with the word or label
    // before it and with a short suffix after it ("以内"); Latin words are not split;
    // spaces at a break hang off the line end. Only a run longer than a whole line is
    // broken inside, and then still never before closing punctuation. The last line never holds a single character when
    // the line above can give it company.
    static QStringList BreakLine(const QString& text, double width,
                                 const std::function<double(const QString&)>& advance);

private:
    struct MeasuredRow;

    double Mm(double mm) const { return mm * m_dpmm; }
    QFont Font(double pt, bool bold) const;
    FormPiece Cell(FormPiece::Kind kind, const QRectF& cell, const QString& text, double pt, bool bold) const;
    void LayTitle();
    void LayTables(const std::map<int, std::string>& fields);
    void LayBoxes(const std::map<int, std::string>& fields);
    void LayFolios();
    double TableBottom() const;
    double FolioHeight() const;
    void NewPage();
    bool AtPageTop() const { return m_y <= m_pageTop + 0.5; }

    const FormTemplate& m_form;
    QPaintDevice& m_device;
    QString m_family;
    double m_dpmm = 1;
    double m_y = 0;
    double m_pageTop = 0;   // where the tables start on a page: below its title
    int m_pages = 1;
    std::vector<FormPiece> m_pieces;
    std::vector<int> m_unplaced;
};
