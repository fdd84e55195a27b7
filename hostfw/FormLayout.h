#pragma once

#include <QFont>
#include <QRectF>
#include <QStringList>

#include <map>
#include <string>
#include <vector>

class FormTemplate;
class QPaintDevice;

// One laid-out text of a report form: where it stands, in the device units of the
// page it is painted on, and whether it fits its cell.
struct FormPiece {
    enum class Kind { Title, Label, Section, Caption, Value, Box };
    Kind kind = Kind::Value;
    int page = 0;
    QRectF cell;                // the ruled cell (or the template's box); the text stays inside it
    QRectF textArea;            // the cell less its padding
    double pt = 0;
    bool bold = false;
    bool ruled = false;
    QStringList lines;
    std::vector<int> fields;    // the fields whose text this piece shows
    std::string caption;        // the row's caption, for a value cell
    bool fits = true;
};

// Lays out a form template with its field texts: title, then one ruled table per
// template table whose cells wrap their text and grow (a table that reaches the foot of
// the page goes on on the next, its caption repeated); hand-placed boxes wrap in their
// box and shrink no smaller than the template's floor. Nothing is cut: a text that still
// does not fit is laid out as a piece that does not fit, for the caller to report.
class FormLayout {
public:
    FormLayout(const FormTemplate& form, QPaintDevice& device, const QString& family);

    void Lay(const std::map<int, std::string>& fields);

    const std::vector<FormPiece>& Pieces() const { return m_pieces; }
    int PageCount() const { return m_pages; }
    // Written, non-empty fields the template has no place for.
    const std::vector<int>& UnplacedFields() const { return m_unplaced; }

    // Splits at CR, LF and CRLF, then wraps each line to width device units.
    QStringList Wrap(const QString& text, const QFont& font, double width) const;

private:
    double Mm(double mm) const { return mm * m_dpmm; }
    QFont Font(double pt, bool bold) const;
    double LineHeight(const QFont& font) const;
    FormPiece Cell(FormPiece::Kind kind, const QRectF& cell, const QString& text, double pt, bool bold) const;
    void LayTitle();
    void LayTables(const std::map<int, std::string>& fields);
    void LayBoxes(const std::map<int, std::string>& fields);
    void NewPage();

    const FormTemplate& m_form;
    QPaintDevice& m_device;
    QString m_family;
    double m_dpmm = 1;
    double m_y = 0;
    int m_pages = 1;
    std::vector<FormPiece> m_pieces;
    std::vector<int> m_unplaced;
};
