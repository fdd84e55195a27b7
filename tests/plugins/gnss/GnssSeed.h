#pragma once

// A small GNSS part system for the tests: one work, a 4827 part and its siblings,
// built as a seed and applied under a private data root.

#include "hostfw/CVApp.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace mod04827::test {

inline QJsonArray Row(std::initializer_list<QJsonValue> values)
{
    QJsonArray a;
    for (const QJsonValue& v : values) a.append(v);
    return a;
}

inline QJsonArray Rows(std::initializer_list<QJsonArray> rows)
{
    QJsonArray a;
    for (const QJsonArray& r : rows) a.append(r);
    return a;
}

// Fixed-width check-file lines (CRLF added by the seed).
inline QString KzdtLine(const std::string& name, const std::string& height)
{
    std::string line = name;
    line.resize(16, ' ');
    line += std::string(16 - height.size(), ' ') + height + std::string(14, ' ');
    return QString::fromStdString(line);
}

inline QString ShenLine(const std::string& name, int result)
{
    std::string line = name;
    line.resize(16, ' ');
    std::string r = std::to_string(result);
    line += std::string(2 - r.size(), ' ') + r;
    return QString::fromStdString(line);
}

class GnssSeed {
public:
    GnssSeed()
    {
        m_root["programs"] = QJsonObject{{"4827", "品質評価表"}, {"4735", "環閉合"}, {"4741", "重複基線"},
                                         {"4744", "結合多角"}, {"4790", "網"}, {"4712", "既知点"}, {"4718", "座標"}};
        SetWork(1, 3);
        Condition("JGpsSidVur", 1, QJsonObject{{"horizontalCm", 10}, {"heightCm", 20}, {"knownPointOption", 0},
                                                {"halfHorizontalMm", 20}, {"halfHeightMm", 30}});
        Condition("JGpsKanVur", 1, QJsonObject{{"kind", 0}, {"horizontal", Row({20, 25})}, {"height", Row({30, 35})}});
        Condition("JGpsDupVur", 1, QJsonObject{{"horizontal", 20}, {"height", 30}});
        Condition("JGpsEktVur", 1, QJsonObject{{"a", 100}, {"b", 20}, {"c", 150}, {"d", 30}});
        SurveyPart(0, {0, 0, 0, 0, 0});
        AddFile("sysvur", "List.dat",
                {"作業なし               ", "水準測量               ", "標高測量               ",
                 "基準点測量             "});
    }

    void SetWork(long workNo, int workKind)
    {
        m_conditions["GnssWorkTable/0"] = QJsonObject{
            {"name", "GnssWorkTable"}, {"key", 0},
            {"value", QJsonObject{{"current", static_cast<double>(workNo)},
                                  {"works", Rows({Row({})})}}}};
        QJsonObject entry{{"no", static_cast<double>(workNo)}, {"kind", workKind}, {"condition", 1}};
        QJsonObject table{{"current", static_cast<double>(workNo)}, {"works", QJsonArray{entry}}};
        m_conditions["GnssWorkTable/0"] = QJsonObject{{"name", "GnssWorkTable"}, {"key", 0}, {"value", table}};
    }

    void Condition(const QString& name, long key, const QJsonValue& value)
    {
        m_conditions[name + "/" + QString::number(key)] =
            QJsonObject{{"name", name}, {"key", static_cast<double>(key)}, {"value", value}};
    }

    // The 4827 part at address 1 with its survey kind and F03 switches of every set.
    void SurveyPart(int kind, std::array<int, 5> sw, long workNo = 1)
    {
        QJsonObject records;
        records["F2"] = Rows({Row({static_cast<double>(workNo)})});
        records["F3"] = Rows({Row({kind})});
        for (const char* suffix : {"", "S", "H3", "H4"}) {
            const QString s(suffix);
            records["F1" + s] = Rows({Row({"GNSS製品", "", "令和8年12月10日", "作成者", 9, "", "", "範囲", "合格"})});
            records["F01" + s] = Rows({Row({"", "", "完全説明1", "完全結果1", "", "完全説明2", "完全結果2"})});
            records["F02" + s] = Rows({Row({"", "", "書式説明", "書式結果", "", "概念説明", "概念結果", "", "定義説明",
                                             "定義結果", "", "位相説明", "位相結果"})});
            records["F03" + s] = Rows({Row({sw[0], "", sw[1], "", "絶対方法", sw[2], "", sw[3], "", "相対方法", sw[4],
                                             "", "", "グリッド方法", "グリッド結果"})});
            records["F04" + s] = Rows({Row({"", "", "測定説明", "測定結果", "", "一貫説明", "一貫結果", "", "妥当説明",
                                             "妥当結果"})});
            records["F05" + s] = Rows({Row({"", "", "分類説明", "分類結果", "", "非定説明", "非定結果", "", "定量説明",
                                             "定量結果"})});
        }
        m_parts["1"] = QJsonObject{{"program", 4827}, {"address", 1}, {"key", 1001}, {"name", "品質評価表1"},
                                   {"report", "報告1"}, {"titles", Row({"表題1", "表題2"})}, {"records", records}};
    }

    void Part(int program, int address, const QJsonObject& records)
    {
        m_parts[QString::number(address)] =
            QJsonObject{{"program", program}, {"address", address}, {"key", 2000 + address}, {"records", records}};
    }

    void Answers(int address, const QJsonArray& rows)
    {
        m_answers.append(QJsonObject{{"part", address}, {"table", "ans"}, {"rows", rows}});
    }

    void AddFile(const QString& folder, const QString& name, std::initializer_list<QString> lines)
    {
        QJsonArray l;
        for (const QString& s : lines) l.append(s);
        m_files.append(QJsonObject{{"folder", folder}, {"name", name}, {"lines", l}});
    }

    std::string Json() const
    {
        QJsonObject root = m_root;
        QJsonArray parts;
        for (const QJsonValue& p : m_parts) parts.append(p);
        QJsonArray conditions;
        for (const QJsonValue& c : m_conditions) conditions.append(c);
        root["parts"] = parts;
        root["conditions"] = conditions;
        root["answers"] = m_answers;
        root["files"] = m_files;
        root["current"] = true;
        return QJsonDocument(root).toJson().toStdString();
    }

    // Seeds under a fresh data root and makes the part system current.
    PartSystem* Apply(std::string& error) const
    {
        static int counter = 0;
        const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                           ("gnss-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(root);
        setenv("PARTHOST_DATA_DIR", root.c_str(), 1);
        PartSystemSeed seed;
        if (!seed.Parse(Json(), error)) return nullptr;
        auto system = seed.Apply(root / "parts.db", error);
        if (!system) return nullptr;
        PartSystem* raw = system.get();
        CVApp::Instance().Reset();
        CVApp::Instance().AddPartSystem(std::move(system), "test");
        return raw;
    }

private:
    QJsonObject m_root;
    QJsonObject m_parts;
    QJsonObject m_conditions;
    QJsonArray m_answers;
    QJsonArray m_files;
};

}  // namespace mod04827::test
