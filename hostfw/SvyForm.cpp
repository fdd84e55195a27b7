#include "hostfw/SvyForm.h"

#include "hostfw/FormServices.h"
#include "hostfw/FormLayout.h"
#include "hostfw/FormTemplate.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <system_error>

namespace {

constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};
constexpr double kRuleMm = 0.2;
constexpr double kTableRuleMm = 0.4;
constexpr int kSectionShade = 225;
constexpr std::size_t kReportedTextBytes = 60;

QString JapaneseFamily()
{
    static QString family = [] {
        if (QFontDatabase::families().contains("IPAGothic"))
            return QString("IPAGothic");
        for (const char* file : kFontFiles) {
            const int id = QFontDatabase::addApplicationFont(file);
            if (id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty())
                return QFontDatabase::applicationFontFamilies(id).first();
        }
        return QString("IPAGothic");
    }();
    return family;
}

void DrawPiece(QPainter& painter, const FormPiece& piece, double dpmm)
{
    if (piece.ruled) {
        if (piece.kind == FormPiece::Kind::Section)
            painter.fillRect(piece.cell, QColor(kSectionShade, kSectionShade, kSectionShade));
        painter.setPen(QPen(Qt::black, kRuleMm * dpmm));
        painter.drawRect(piece.cell);
    }
    QFont font(JapaneseFamily());
    font.setPointSizeF(piece.pt);
    font.setBold(piece.bold);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    // A piece that does not fit is reported; the clip only keeps it off its neighbours.
    painter.setClipRect(piece.cell);
    const QFontMetricsF metrics(font, painter.device());
    double y = piece.textArea.top() + metrics.ascent();
    for (const QString& line : piece.lines) {
        double x = piece.textArea.left();
        if (piece.kind == FormPiece::Kind::Title || piece.kind == FormPiece::Kind::Folio)
            x += std::max(0.0, (piece.textArea.width() - metrics.horizontalAdvance(line)) / 2);
        painter.drawText(QPointF(x, y), line);
        y += metrics.lineSpacing();
    }
    painter.restore();
}

// The outer rule of each table section, heavier than the cell rules.
void DrawTableFrames(QPainter& painter, const std::vector<FormPiece>& pieces, int page, double dpmm)
{
    painter.setPen(QPen(Qt::black, kTableRuleMm * dpmm));
    QRectF frame;
    auto flush = [&] {
        if (!frame.isNull())
            painter.drawRect(frame);
        frame = QRectF();
    };
    for (const FormPiece& piece : pieces) {
        if (piece.page != page || !piece.ruled)
            continue;
        if (piece.kind == FormPiece::Kind::Section)
            flush();
        frame = frame.isNull() ? piece.cell : frame.united(piece.cell);
    }
    flush();
}

std::string Shortened(const QStringList& lines)
{
    return tessara::CutToCp932Bytes(lines.join(' ').toStdString(), kReportedTextBytes);
}

std::string FieldList(const std::vector<int>& fields)
{
    std::string out;
    for (int no : fields)
        out += (out.empty() ? "" : ",") + std::to_string(no);
    return out;
}

const char* KindName(FormPiece::Kind kind)
{
    switch (kind) {
    case FormPiece::Kind::Title: return "title";
    case FormPiece::Kind::Label: return "label";
    case FormPiece::Kind::Section: return "section";
    case FormPiece::Kind::Caption: return "caption";
    case FormPiece::Kind::Value: return "value";
    case FormPiece::Kind::Box: return "box";
    case FormPiece::Kind::Folio: return "folio";
    }
    return "value";
}

// Every piece with its rectangle in PDF points (what pdftotext -bbox answers in).
QByteArray LayoutJson(const FormLayout& layout, double dpi)
{
    const double toPt = 72.0 / dpi;
    QJsonArray pieces;
    for (const FormPiece& piece : layout.Pieces()) {
        QJsonObject object;
        object["page"] = piece.page;
        object["kind"] = KindName(piece.kind);
        object["rect"] = QJsonArray{piece.cell.left() * toPt, piece.cell.top() * toPt, piece.cell.width() * toPt,
                                    piece.cell.height() * toPt};
        object["lines"] = QJsonArray::fromStringList(piece.lines);
        QJsonArray wrapped;
        for (const bool flag : piece.wrapped)
            wrapped.append(flag);
        object["wrapped"] = wrapped;
        QJsonArray fields;
        for (int no : piece.fields)
            fields.append(no);
        object["fields"] = fields;
        object["caption"] = QString::fromStdString(piece.caption);
        object["fits"] = piece.fits;
        pieces.append(object);
    }
    QJsonObject root;
    root["pages"] = layout.PageCount();
    root["pieces"] = pieces;
    return QJsonDocument(root).toJson();
}

} // namespace

SvyForm::SvyForm(DWORD flags, DWORD, int) : m_flags(flags) {}

SvyForm::~SvyForm() = default;

int SvyForm::CreateDoc(WORD programNo, const std::string& formFile, const std::string& title1,
                       const std::string&)
{
    m_template.reset();
    m_fields.clear();
    m_refused.clear();
    std::filesystem::path path(formFile);
    if (!path.is_absolute() && !std::filesystem::exists(path))
        path = GetFormsFolder() / path;
    auto form = std::make_unique<FormTemplate>();
    if (!form->Load(path, m_error))
        return -1;
    m_template = std::move(form);
    m_programNo = programNo;
    m_docName = path.stem().string();
    if (!title1.empty())
        m_docName += "_" + title1;
    for (char& c : m_docName)
        if (c == '/' || c == '\\')
            c = '_';
    return 0;
}

int SvyForm::PutField(int fieldNo, const std::string& text, int)
{
    if (!m_template)
        return 0;
    // A field holds a char[255] text. A longer one (a number hundreds of digits long)
    // is no value for a filed report: the document is refused at its close.
    if (tessara::Cp932Length(text) > kRecordTextBytes) {
        m_refused.push_back("field " + std::to_string(fieldNo) + ": " +
                            tessara::CutToCp932Bytes(text, kReportedTextBytes) + "…");
        return 0;
    }
    m_fields[fieldNo] = text;
    return 1;
}

int SvyForm::CloseDoc()
{
    if (!m_template)
        return 0;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        m_error = "帳票の出力にはアプリケーションが必要です";
        m_template.reset();
        return 0;
    }
    if (!m_refused.empty()) {
        m_error = "帳票の欄に入らない長さの値があります (" + std::to_string(kRecordTextBytes) + " バイトまで):";
        for (const std::string& line : m_refused) {
            ReportFormLine("FORM-REFUSED " + m_docName + " " + line);
            m_error += "\n" + line;
        }
        m_template.reset();
        m_refused.clear();
        return 0;
    }
    const std::filesystem::path folder = GetFormOutputFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::filesystem::path target = folder / (m_docName + ".pdf");
    for (int n = 2; std::find(m_written.begin(), m_written.end(), target) != m_written.end(); ++n)
        target = folder / (m_docName + "_" + std::to_string(n) + ".pdf");

    tessara::AtomicFileWriter writer(target.string());
    if (!writer.Open()) {
        m_error = "帳票ファイルを書き込めません: " + target.string();
        m_template.reset();
        return 0;
    }
    bool painted = false;
    std::vector<std::string> unfit;
    // The PDF is drawn in memory and written through the writer, whose every write
    // is checked: Qt's PDF engine does not report a failed write of its own file.
    QBuffer drawn;
    drawn.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&drawn);
        pdf.setPageSize(QPageSize(QSizeF(m_template->PageWidthMm(), m_template->PageHeightMm()),
                                  QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(300);
        pdf.setCreator("Tessara parthost");
        FormLayout layout(*m_template, pdf, JapaneseFamily());
        layout.Lay(m_fields);
        const std::string formName = target.filename().string();
        for (const FormPiece& piece : layout.Pieces())
            if (!piece.fits)
                unfit.push_back(formName + " field " + (piece.fields.empty() ? "-" : FieldList(piece.fields)) +
                                ": " + Shortened(piece.lines));
        for (int no : layout.UnplacedFields())
            ReportFormLine("FORM-UNPLACED " + formName + " field " + std::to_string(no) +
                           ": the form has no place for it");
        QPainter painter;
        if (painter.begin(&pdf)) {
            const double dpmm = pdf.resolution() / 25.4;
            for (int page = 0; page < layout.PageCount(); ++page) {
                if (page > 0)
                    pdf.newPage();
                for (const FormPiece& piece : layout.Pieces())
                    if (piece.page == page)
                        DrawPiece(painter, piece, dpmm);
                DrawTableFrames(painter, layout.Pieces(), page, dpmm);
            }
            painted = painter.end();
        }
        if (painted && FormLayoutReports()) {
            std::filesystem::path report = target;
            report.replace_extension(".layout.json");
            const QByteArray json = LayoutJson(layout, pdf.resolution());
            painted = tessara::AtomicWriteFile(report.string(), std::string(json.constData(), json.size()));
        }
    }
    m_template.reset();
    if (!painted || drawn.data().isEmpty() || !writer.Write(drawn.data().constData(), drawn.data().size()) ||
        !writer.Commit()) {
        m_error = "帳票ファイルを書き込めません: " + target.string();
        return 0;
    }
    m_written.push_back(target);
    ReportFormLine("FORM " + target.string());
    if (!unfit.empty()) {
        m_error = "帳票の欄に収まらない文字があります: ";
        for (const std::string& line : unfit) {
            ReportFormLine("FORM-OVERFLOW " + line);
            m_error += "\n" + line;
        }
        return 0;
    }
    return 1;
}
