// The GNSS form prints the user's requirement and result texts in the pieces the
// plug-in cuts them into (78, 120 then 90, 80 then 60 bytes, as the CSV shares them):
// the value column is wide enough that each piece stands on one line of its own, also
// for the widest text, full-width characters only.
#include <gtest/gtest.h>

#include <QJsonArray>

#include "../ParthostRun.h"
#include "SeedEdit.h"

namespace {

using namespace formtest;

// n full-width characters: 2n CP932 bytes.
QString FullWidth(int n)
{
    const QString pattern = QString::fromUtf8("基線ベクトルの環閉合差水平位置標準偏差以内");
    QString text;
    for (int i = 0; i < n; ++i)
        text += pattern[i % pattern.size()];
    return text;
}

class CutLinesTest : public plugtest::RunFolderTest<int> {
protected:
    CutLinesTest() : RunFolderTest("cut-lines") {}
};

TEST_F(CutLinesTest, EachCutPieceOfTheWidestTextStandsOnOneLine)
{
    QJsonObject seed = ReadSeed("gnss", "control_survey.json");
    // The manual switches 1, 4 and 5 with their texts T1, T5 and T7.
    SetRecordField(seed, 0, "F03", 0, 1);
    SetRecordField(seed, 0, "F03", 1, FullWidth(100));   // 200 bytes: 78, 78, 44
    SetRecordField(seed, 0, "F03", 7, 1);
    SetRecordField(seed, 0, "F03", 8, FullWidth(127));   // 254 bytes: 120, 90, 44
    SetRecordField(seed, 0, "F03", 10, 1);
    SetRecordField(seed, 0, "F03", 11, FullWidth(127));  // 254 bytes: 80, 60, 60, 54
    const std::filesystem::path seedFile = WriteSeed(seed, m_out);
    const std::filesystem::path run = m_out / "run";
    const plugtest::HostRun result = plugtest::RunParthost(kSource, kBinary, "gnss", "Mod04827.so", seedFile.string(),
                                                           run, {"--form", "--form-layout"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::filesystem::path report;
    for (const auto& entry : std::filesystem::directory_iterator(run))
        if (entry.path().string().ends_with(".layout.json"))
            report = entry.path();
    QFile in(QString::fromStdString(report.string()));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << report;
    const std::map<QString, int> expectedLines = {
        {QString::fromUtf8("総括"), 3}, {QString::fromUtf8("相対位置正確度 要求"), 3}, {QString::fromUtf8("相対位置正確度 結果"), 4}};
    std::map<QString, int> seen;
    for (const QJsonValue& value : QJsonDocument::fromJson(in.readAll()).object().value("pieces").toArray()) {
        const QJsonObject piece = value.toObject();
        const QString caption = piece.value("caption").toString();
        const QJsonArray fields = piece.value("fields").toArray();
        if (piece.value("kind").toString() != "value" || !expectedLines.count(caption) ||
            (caption == QString::fromUtf8("総括") && fields.at(0).toInt() != 23))
            continue;
        ++seen[caption];
        EXPECT_EQ(piece.value("lines").toArray().size(), expectedLines.at(caption)) << caption.toStdString();
        for (const QJsonValue& wrapped : piece.value("wrapped").toArray())
            EXPECT_FALSE(wrapped.toBool()) << caption.toStdString() << " has a line the cell had to wrap";
    }
    EXPECT_EQ(seen.size(), expectedLines.size());
}

} // namespace
