#include "hostfw/SvyForm.h"

#include "hostfw/FormServices.h"
#include "hostfw/FormTemplate.h"
#include "platform/AtomicFileWriter.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <system_error>

namespace {

constexpr double kMinPointSize = 4.0;
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};

// CR, LF and CRLF each break a line.
QStringList SplitLines(const std::string& text)
{
    QString all = QString::fromStdString(text);
    all.replace("\r\n", "\n");
    all.replace('\r', '\n');
    return all.split('\n');
}

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

// Draws lines in the box: the font shrinks until they fit, down to a floor, then the
// text is clipped to the box.
void DrawInBox(QPainter& painter, const FormTemplate::Box& box, const QStringList& lines, double dpmm)
{
    const QRectF rect(box.x * dpmm, box.y * dpmm, box.w * dpmm, box.h * dpmm);
    QFont font(JapaneseFamily());
    double pt = box.pt;
    for (;;) {
        font.setPointSizeF(pt);
        const QFontMetricsF metrics(font, painter.device());
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const double height = metrics.lineSpacing() * lines.size();
        if ((widest <= rect.width() && height <= rect.height()) || pt <= kMinPointSize)
            break;
        pt = std::max(kMinPointSize, pt - 0.5);
    }
    painter.save();
    painter.setFont(font);
    painter.setClipRect(rect);
    const QFontMetricsF metrics(font, painter.device());
    double y = rect.top() + metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(QPointF(rect.left(), y), line);
        y += metrics.lineSpacing();
    }
    painter.restore();
}

} // namespace

SvyForm::SvyForm(DWORD flags, DWORD, int) : m_flags(flags) {}

SvyForm::~SvyForm() = default;

int SvyForm::CreateDoc(WORD programNo, const std::string& formFile, const std::string& title1,
                       const std::string&)
{
    m_template.reset();
    m_fields.clear();
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
    {
        QPdfWriter pdf(QString::fromStdString(writer.TempPath()));
        pdf.setPageSize(QPageSize(QSizeF(m_template->PageWidthMm(), m_template->PageHeightMm()),
                                  QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(300);
        pdf.setCreator("Tessara parthost");
        QPainter painter;
        if (painter.begin(&pdf)) {
            const double dpmm = pdf.resolution() / 25.4;
            for (const FormTemplate::Label& label : m_template->Labels()) {
                FormTemplate::Box box = label.box;
                if (box.w <= 0)
                    box.w = m_template->PageWidthMm() - box.x;
                if (box.h <= 0)
                    box.h = box.pt * 0.5;
                DrawInBox(painter, box, SplitLines(label.text), dpmm);
            }
            for (const auto& [no, text] : m_fields)
                if (const FormTemplate::Field* field = m_template->FindField(no))
                    DrawInBox(painter, field->box, SplitLines(text), dpmm);
            painted = painter.end();
        }
    }
    m_template.reset();
    if (!painted || !writer.Commit()) {
        m_error = "帳票ファイルを書き込めません: " + target.string();
        return 0;
    }
    m_written.push_back(target);
    return 1;
}
