// Line breaking of form cells with a fixed pitch: a full-width character is 2 units
// wide, a half-width one 1, so each case reads as a count of CP932 bytes per line.
#include <gtest/gtest.h>

#include "hostfw/FormLayout.h"

namespace {

double Pitch(const QString& text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
    return width;
}

struct Case {
    const char* name;
    const char* text;
    double width;
    std::vector<const char*> lines;
};

const Case kCases[] = {
    // No line starts with closing punctuation: the character before it goes down too.
    {"comma goes with its word", "あいうえお、かきく", 10, {"あいうえ", "お、かきく"}},
    {"full stop and bracket", "あいうえ（おか）。きく", 12, {"あいうえ（お", "か）。きく"}},
    {"small kana and long mark", "あいうえっアイウーエ", 8, {"あいう", "えっアイ", "ウーエ"}},
    // No line ends with an opening bracket.
    {"opening bracket goes down", "あいう「えお」", 8, {"あいう", "「えお」"}},
    // A number stays with its unit, the label before it and a short suffix after it.
    {"value and unit", "水平角の較差0″", 12, {"水平角の", "較差0″"}},
    {"label space value", "観測の較差 12mm以内", 14, {"観測の", "較差 12mm以内"}},
    {"tolerance with root", "閉合差が水平20mm√N以内", 15, {"閉合差が", "水平20mm√N以内"}},
    {"a short suffix stays with its number", "あいうえお200mm以内、かき", 16, {"あいうえ", "お200mm以内、", "かき"}},
    {"after a comma a number may start", "高さ、25mm", 6, {"高さ、", "25mm"}},
    // Latin words are not split; spaces at a break hang off the line.
    {"latin words", "percent centimeter", 10, {"percent", "centimeter"}},
    // A last line of one character takes a companion from the line above.
    {"no lone last character", "基線ベクトルの評価結果", 20, {"基線ベクトルの評価", "結果"}},
    // A run longer than a line breaks inside it, still not before closing punctuation.
    {"overlong number", "1234567890123", 5, {"12345", "67890", "123"}},
    {"fits whole", "較差 0″", 20, {"較差 0″"}},
};

TEST(FormLineBreakTest, JapaneseRulesKeepPunctuationNumbersAndUnitsInPlace)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QStringList lines = FormLayout::BreakLine(QString::fromUtf8(c.text), c.width, Pitch);
        QStringList expected;
        for (const char* line : c.lines)
            expected << QString::fromUtf8(line);
        EXPECT_EQ(lines.join(" | ").toStdString(), expected.join(" | ").toStdString());
        for (const QString& line : lines)
            EXPECT_LE(Pitch(line), c.width) << line.toStdString();
    }
}

} // namespace
