#pragma once

// Example seeds changed in one place, for runs of parthost on seeds the examples do
// not ship.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <filesystem>

namespace formtest {

inline const std::filesystem::path kSource = FORMS_SOURCE_DIR;
inline const std::filesystem::path kBinary = FORMS_BINARY_DIR;

inline QJsonObject ReadSeed(const std::string& plugin, const std::string& name)
{
    QFile in(QString::fromStdString((kSource / "examples" / plugin / name).string()));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << name;
    return QJsonDocument::fromJson(in.readAll()).object();
}

// Sets value at the path parts[part].records[record][0][field].
inline void SetRecordField(QJsonObject& seed, int part, const char* record, int field, const QJsonValue& value)
{
    QJsonArray parts = seed["parts"].toArray();
    QJsonObject entry = parts[part].toObject();
    QJsonObject records = entry["records"].toObject();
    QJsonArray rows = records[record].toArray();
    QJsonArray row = rows[0].toArray();
    row[field] = value;
    rows[0] = row;
    records[record] = rows;
    entry["records"] = records;
    parts[part] = entry;
    seed["parts"] = parts;
}

// Sets a field (the first by default) of the first row of the answers of table at part.
inline void SetAnswer(QJsonObject& seed, int part, const char* table, const QJsonValue& value, int field = 0)
{
    QJsonArray answers = seed["answers"].toArray();
    for (qsizetype i = 0; i < answers.size(); ++i) {
        QJsonObject answer = answers[i].toObject();
        if (answer["part"].toInt() != part || answer["table"].toString() != table)
            continue;
        QJsonArray rows = answer["rows"].toArray();
        QJsonArray row = rows[0].toArray();
        row[field] = value;
        rows[0] = row;
        answer["rows"] = rows;
        answers[i] = answer;
    }
    seed["answers"] = answers;
}

// Writes the seed as <folder>/seed.json and answers its path (absolute, so it stands in
// for examples/<plug-in>/<seed> in RunParthost).
inline std::filesystem::path WriteSeed(const QJsonObject& seed, const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "seed.json";
    QFile out(QString::fromStdString(file.string()));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(seed).toJson());
    return file;
}

} // namespace formtest
