// The report forms as printed: for every example seed that gives a form, each value the
// plug-in wrote stands whole in its cell of the PDF, its caption in the cell beside it
// on the same row, and no word of the page crosses a cell's rules; and the pages read as
// a filed table: each page carries the title and its number "n / m", an element's rows
// stay on one page, a split table keeps three rows or more on each page, and no cell has
// a blank line, a line starting with closing punctuation or a wrapped line of one
// character.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <filesystem>
#include <vector>

#include "../ParthostRun.h"

namespace {

const std::filesystem::path kSource = FORMS_SOURCE_DIR;
const std::filesystem::path kBinary = FORMS_BINARY_DIR;

struct Word {
    QRectF box;
    QString text;
};

// pdftotext -bbox: the words of each page with their boxes in PDF points, top left origin.
std::vector<std::vector<Word>> PdfWords(const std::filesystem::path& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", QString::fromStdString(pdf.string()), "-"});
    process.waitForFinished(60000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    std::vector<std::vector<Word>> pages;
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == "<page ") {
            pages.emplace_back();
            continue;
        }
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        pages.back().push_back({QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                                m.captured(5).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">")});
    }
    return pages;
}

QString Squeezed(QString text)
{
    // U+3000, the ideographic space, is white space too.
    static const QRegularExpression space(R"(\s)", QRegularExpression::UseUnicodePropertiesOption);
    text.remove(space);
    return text;
}

struct Piece {
    int page = 0;
    QString kind;
    QRectF rect;
    QString text;       // the piece's lines, without white space
    QString caption;    // a value cell's caption
    QStringList lines;
    std::vector<bool> wrapped;
};

std::vector<Piece> LayoutPieces(const std::filesystem::path& report)
{
    QFile in(QString::fromStdString(report.string()));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << report;
    std::vector<Piece> pieces;
    for (const QJsonValue& value : QJsonDocument::fromJson(in.readAll()).object().value("pieces").toArray()) {
        const QJsonObject o = value.toObject();
        const QJsonArray r = o.value("rect").toArray();
        QStringList lines;
        for (const QJsonValue& line : o.value("lines").toArray())
            lines << line.toString();
        std::vector<bool> wrapped;
        for (const QJsonValue& flag : o.value("wrapped").toArray())
            wrapped.push_back(flag.toBool());
        pieces.push_back({o.value("page").toInt(), o.value("kind").toString(),
                          QRectF(r[0].toDouble(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble()),
                          Squeezed(lines.join("")), o.value("caption").toString(), lines, wrapped});
    }
    return pieces;
}

// The words whose centre lies in the rectangle, in reading order, and whether every one
// of them lies wholly inside it.
QString WordsIn(const std::vector<Word>& words, const QRectF& rect, bool& inside)
{
    std::vector<const Word*> found;
    for (const Word& word : words)
        if (rect.contains(word.box.center()))
            found.push_back(&word);
    std::sort(found.begin(), found.end(), [](const Word* a, const Word* b) {
        return std::abs(a->box.top() - b->box.top()) > 1 ? a->box.top() < b->box.top() : a->box.left() < b->box.left();
    });
    QString text;
    const QRectF tolerant = rect.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (const Word* word : found) {
        text += word->text;
        inside = inside && tolerant.contains(word->box);
    }
    return Squeezed(text);
}

struct Seed {
    std::string plugin;
    std::string module;
    std::string fixture;
};

std::vector<Seed> ExampleSeeds()
{
    const std::vector<std::pair<std::string, std::string>> plugins = {
        {"ctrlpoint", "Mod00519.so"}, {"levelling", "Mod00963.so"}, {"gnss", "Mod04827.so"}};
    std::vector<Seed> seeds;
    for (const auto& [plugin, module] : plugins) {
        for (const auto& entry : std::filesystem::directory_iterator(kSource / "examples" / plugin)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".json" && name.find("script") == std::string::npos)
                seeds.push_back({plugin, module, name});
        }
    }
    std::sort(seeds.begin(), seeds.end(), [](const Seed& a, const Seed& b) {
        return std::tie(a.plugin, a.fixture) < std::tie(b.plugin, b.fixture);
    });
    return seeds;
}

// The element of each row caption, from the plug-in's form template.
std::map<QString, QString> ElementsOf(const std::string& plugin)
{
    const std::map<std::string, std::string> templates = {
        {"ctrlpoint", "form00519.frm"}, {"levelling", "form00963.frm"}, {"gnss", "form04827.frm"}};
    QFile in(QString::fromStdString((kSource / "plugins" / plugin / "data" / templates.at(plugin)).string()));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    std::map<QString, QString> elements;
    for (const QJsonValue& table : QJsonDocument::fromJson(in.readAll()).object().value("tables").toArray())
        for (const QJsonValue& row : table.toObject().value("rows").toArray())
            elements[row.toObject().value("caption").toString()] = row.toObject().value("element").toString();
    return elements;
}

// Title and "n / m" on every page; an element's rows on one page unless together they
// are taller than the page's room for tables; three rows or more of a split table on
// each of its pages.
void CheckPages(const std::vector<Piece>& pieces, int pageCount, const std::map<QString, QString>& elements)
{
    std::vector<int> titles(static_cast<std::size_t>(pageCount), 0);
    std::vector<QString> folios(static_cast<std::size_t>(pageCount));
    std::vector<double> roomTop(static_cast<std::size_t>(pageCount), 1e9), roomBottom(static_cast<std::size_t>(pageCount), 0);
    for (const Piece& piece : pieces) {
        const auto page = static_cast<std::size_t>(piece.page);
        if (piece.kind == "title")
            ++titles[page];
        if (piece.kind == "folio") {
            folios[page] = piece.text;
            roomBottom[page] = piece.rect.top();
        }
        if (piece.kind == "section")
            roomTop[page] = std::min(roomTop[page], piece.rect.top());
    }
    for (int page = 0; page < pageCount; ++page) {
        EXPECT_EQ(titles[static_cast<std::size_t>(page)], 1) << "the title on page " << page + 1;
        EXPECT_EQ(folios[static_cast<std::size_t>(page)].toStdString(),
                  QString("%1/%2").arg(page + 1).arg(pageCount).toStdString());
    }
    // Rows by table and by element, in order.
    struct Group {
        std::map<int, int> rowsOnPage;
        double height = 0;
        int firstPage = 0;
    };
    std::map<QString, Group> tables, groups;
    QString table;
    for (const Piece& piece : pieces) {
        if (piece.kind == "section") {
            table = piece.text;
            table.remove(QString::fromUtf8("（続き）"));
            continue;
        }
        if (piece.kind != "value")
            continue;
        ++tables[table].rowsOnPage[piece.page];
        const QString element = elements.count(piece.caption) ? elements.at(piece.caption) : QString();
        if (element.isEmpty())
            continue;
        Group& group = groups[table + "/" + element];
        if (group.rowsOnPage.empty())
            group.firstPage = piece.page;
        ++group.rowsOnPage[piece.page];
        group.height += piece.rect.height();
    }
    for (const auto& [name, group] : tables) {
        if (group.rowsOnPage.size() < 2)
            continue;
        for (const auto& [page, rows] : group.rowsOnPage)
            EXPECT_GE(rows, 3) << name.toStdString() << " keeps only " << rows << " rows on page " << page + 1;
    }
    for (const auto& [name, group] : groups) {
        if (group.rowsOnPage.size() < 2)
            continue;
        const auto page = static_cast<std::size_t>(group.firstPage);
        EXPECT_GT(group.height, roomBottom[page] - roomTop[page])
            << name.toStdString() << " is split over pages though it fits on one";
    }
}

bool StartsWithClosingMark(const QString& line)
{
    static const QString kClosing = QString::fromUtf8("、。，．・：；？！）」』】〕〉》”’ー）),.:;!?]}″′°%％");
    return !line.isEmpty() && kClosing.contains(line[0]);
}

// Cell lines: none blank, none wrapped before closing punctuation, and no line of a
// wrapped paragraph holding a single character; a wrapped line never starts a number
// (it stays with its label) nor leaves a number's unit behind.
void CheckLines(const std::vector<Piece>& pieces)
{
    for (const Piece& piece : pieces) {
        for (qsizetype i = 0; i < piece.lines.size(); ++i) {
            const QString& line = piece.lines[i];
            const std::string shown = piece.caption.toStdString() + ": \"" + line.toStdString() + "\"";
            EXPECT_FALSE(Squeezed(line).isEmpty()) << "a blank line in " << piece.caption.toStdString();
            const bool wrappedLine = i < static_cast<qsizetype>(piece.wrapped.size()) && piece.wrapped[static_cast<std::size_t>(i)];
            // A line the text itself starts ("・既知点間…", a bullet) is the writer's; a
            // line the layout starts never begins with closing punctuation.
            if (wrappedLine) {
                EXPECT_FALSE(StartsWithClosingMark(line.trimmed())) << shown;
            }
            const bool wrapsOn = i + 1 < static_cast<qsizetype>(piece.wrapped.size()) && piece.wrapped[static_cast<std::size_t>(i + 1)];
            if (wrappedLine || wrapsOn) {
                EXPECT_GE(Squeezed(line).size(), 2) << "a lone character: " << shown;
            }
            // A wrapped line starts a number only after punctuation ("高さ、" / "25mm").
            if (wrappedLine && !line.isEmpty() && line[0].isDigit()) {
                const QString above = piece.lines[i - 1].trimmed();
                EXPECT_TRUE(!above.isEmpty() && above.back().unicode() >= 0x3000 &&
                            QString::fromUtf8("、。，．：；）」』】").contains(above.back()))
                    << "a number parted from its label: " << shown;
            }
        }
    }
}

class FormPagesTest : public plugtest::RunFolderTest<Seed> {
protected:
    FormPagesTest() : RunFolderTest("form-pages") {}
};

TEST_P(FormPagesTest, EveryValueStandsWholeInItsCellBesideItsCaption)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const Seed& seed = GetParam();
    const plugtest::HostRun run =
        plugtest::RunParthost(kSource, kBinary, seed.plugin, seed.module, seed.fixture, m_out, {"--form", "--form-layout"});
    EXPECT_EQ(run.output.find("FORM-OVERFLOW"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("FORM-UNPLACED"), std::string::npos) << run.output;
    std::vector<std::filesystem::path> pdfs;
    for (const auto& entry : std::filesystem::directory_iterator(m_out))
        if (entry.path().extension() == ".pdf")
            pdfs.push_back(entry.path());
    if (pdfs.empty()) {
        // A seed whose evaluation fails gives no form, and says so.
        EXPECT_EQ(run.output.find("FORM "), std::string::npos) << run.output;
        return;
    }
    EXPECT_EQ(run.exitCode, 0) << run.output;
    for (const std::filesystem::path& pdf : pdfs) {
        SCOPED_TRACE(pdf.filename().string());
        std::filesystem::path report = pdf;
        report.replace_extension(".layout.json");
        const std::vector<Piece> pieces = LayoutPieces(report);
        const std::vector<std::vector<Word>> pages = PdfWords(pdf);
        int values = 0;
        std::vector<std::size_t> placedWords(pages.size(), 0);
        for (const Piece& piece : pieces) {
            ASSERT_LT(piece.page, static_cast<int>(pages.size()));
            const std::vector<Word>& words = pages[piece.page];
            bool inside = true;
            const QString printed = WordsIn(words, piece.rect, inside);
            EXPECT_EQ(printed.toStdString(), piece.text.toStdString()) << piece.kind.toStdString();
            EXPECT_TRUE(inside) << "a word crosses the rules of " << piece.text.toStdString();
            if (piece.kind == "title" || piece.kind == "section" || piece.kind == "caption" || piece.kind == "value" ||
                piece.kind == "folio")
                for (const Word& word : words)
                    placedWords[piece.page] += piece.rect.contains(word.box.center()) ? 1 : 0;
            if (piece.kind != "value" || piece.text.isEmpty())
                continue;
            ++values;
            // The caption: the cell to the left on the same row.
            const auto caption = std::find_if(pieces.begin(), pieces.end(), [&](const Piece& other) {
                return other.kind == "caption" && other.page == piece.page &&
                       std::abs(other.rect.top() - piece.rect.top()) < 0.01 &&
                       std::abs(other.rect.height() - piece.rect.height()) < 0.01 &&
                       std::abs(other.rect.right() - piece.rect.left()) < 0.01;
            });
            ASSERT_NE(caption, pieces.end()) << "no caption beside " << piece.text.toStdString();
            EXPECT_EQ(caption->text, Squeezed(piece.caption));
            EXPECT_FALSE(caption->text.isEmpty());
        }
        EXPECT_GT(values, 20);
        for (std::size_t page = 0; page < pages.size(); ++page)
            EXPECT_EQ(placedWords[page], pages[page].size()) << "words outside every cell on page " << page + 1;
        CheckPages(pieces, static_cast<int>(pages.size()), ElementsOf(seed.plugin));
        CheckLines(pieces);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FormPagesTest, ::testing::ValuesIn(ExampleSeeds()), [](const auto& info) {
    std::string name = info.param.plugin + "_" + info.param.fixture.substr(0, info.param.fixture.size() - 5);
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
});

} // namespace
