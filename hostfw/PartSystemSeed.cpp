#include "hostfw/PartSystemSeed.h"

#include "hostfw/CVApp.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/RecordLayout.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Numbers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <map>
#include <system_error>

namespace {

std::string Str(const QJsonValue& value)
{
    return value.toString().toStdString();
}

bool ToField(const QJsonValue& value, FieldValue& out)
{
    if (value.isString()) {
        out = Str(value);
        return true;
    }
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (std::trunc(d) == d && std::fabs(d) < 9.0e15)
            out = static_cast<std::int64_t>(d);
        else
            out = d;
        return true;
    }
    if (value.isBool()) {
        out = std::int64_t{value.toBool() ? 1 : 0};
        return true;
    }
    if (value.isNull()) {
        out = std::monostate{};
        return true;
    }
    return false;
}

bool ToRows(const QJsonValue& value, std::vector<PartRecord>& rows, std::string& error)
{
    if (!value.isArray()) {
        error = "rows must be a list of lists";
        return false;
    }
    for (const QJsonValue& row : value.toArray()) {
        if (!row.isArray()) {
            error = "a row must be a list of fields";
            return false;
        }
        PartRecord record;
        for (const QJsonValue& field : row.toArray()) {
            FieldValue v;
            if (!ToField(field, v)) {
                error = "a field must be a number or a text";
                return false;
            }
            if (const auto* text = std::get_if<std::string>(&v); text && tessara::Cp932Length(*text) > kRecordTextBytes) {
                error = "a text over 254 CP932 bytes: " + *text;
                return false;
            }
            record.Fields().push_back(std::move(v));
        }
        rows.push_back(std::move(record));
    }
    return true;
}

const char* KindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text: return "a text";
    case FieldKind::Short: return "a whole number from -32768 to 32767";
    case FieldKind::Long: return "a whole number from -2147483648 to 2147483647";
    case FieldKind::Dword: return "a whole number from 0 to 4294967295";
    case FieldKind::Double: return "a number";
    }
    return "a number";
}

// Whether a seed value can stand in a field of the kind: a text only in a text field,
// a number only in a number field and only within the field's range. An empty value
// (null) stands for "not set" in a number field.
bool FitsKind(const FieldValue& value, FieldKind kind)
{
    if (std::holds_alternative<std::monostate>(value))
        return kind != FieldKind::Text;
    if (kind == FieldKind::Text)
        return std::holds_alternative<std::string>(value);
    if (std::holds_alternative<std::string>(value))
        return false;
    if (kind == FieldKind::Double)
        return true;
    const auto* whole = std::get_if<std::int64_t>(&value);
    if (whole == nullptr)
        return false;
    switch (kind) {
    case FieldKind::Short: return *whole >= -32768 && *whole <= 32767;
    case FieldKind::Long: return *whole >= -2147483648LL && *whole <= 2147483647LL;
    case FieldKind::Dword: return *whole >= 0 && *whole <= 0xFFFFFFFFLL;
    default: return true;
    }
}

std::string Shown(const FieldValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return "\"" + tessara::CutToCp932Bytes(*text, 40) + "\"";
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return std::to_string(*whole);
    if (const auto* number = std::get_if<double>(&value))
        return tessara::ShortestText(*number);
    return "null";
}

// Every field of the rows against the kinds; the first one that does not fit is named
// by row (for a list) and field number.
bool CheckKinds(const std::string& record, const std::vector<FieldKind>& kinds, bool list,
                const std::vector<PartRecord>& rows, std::string& error)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<FieldValue>& fields = rows[r].Fields();
        for (std::size_t f = 0; f < fields.size() && f < kinds.size(); ++f) {
            if (FitsKind(fields[f], kinds[f]))
                continue;
            error = record + (list ? " row " + std::to_string(r) : std::string()) + " field " + std::to_string(f) +
                    ": " + Shown(fields[f]) + " where " + KindName(kinds[f]) + " is due";
            return false;
        }
    }
    return true;
}

bool CheckLayout(WORD program, const std::string& name, const std::vector<PartRecord>& rows,
                 std::string& error)
{
    const RecordSet* set = RecordSet::ForProgram(program);
    const RecordLayout* layout = set ? set->ByName(name) : nullptr;
    if (!set)
        return true;   // a sibling program: stored as given
    if (!layout) {
        error = "program " + std::to_string(program) + " has no record " + name;
        return false;
    }
    if (!layout->IsList() && rows.size() > 1) {
        error = "record " + name + " holds one row";
        return false;
    }
    for (const PartRecord& row : rows) {
        if (row.FieldCount() > layout->FieldCount()) {
            error = "record " + name + " has " + std::to_string(layout->FieldCount()) + " fields";
            return false;
        }
    }
    return CheckKinds("record " + name, layout->Fields(), layout->IsList(), rows, error);
}

// The stored answers of the sibling calculations the plug-ins read, field by field;
// tables not listed here are stored as given.
const std::vector<FieldKind>* AnswerKinds(const std::string& table)
{
    using K = FieldKind;
    static const std::map<std::string, std::vector<FieldKind>> kinds = {
        {"SUISYUBO", {K::Short, K::Double}},                           // grade, round-trip difference
        {"SISDO_NET", {K::Double}},                                    // standard deviation
        {"SISDO_ROUTE", {K::Double}},                                  // closure
        {"TENKEN", {K::Long, K::Double, K::Double}},                   // point, horizontal and height SD
        {"SEIDO_NET", {K::Double, K::Double, K::Double, K::Double, K::Double, K::Double}},
        {"SEIDO_ROUTE", {K::Long, K::Double, K::Double, K::Double}},   // route kind, closures, difference
        {"SHUBO", {K::Long, K::Double, K::Double, K::Double}},         // point, distance, direction, vertical
        {"ans", {K::Double, K::Double, K::Double}},                    // N, E, U
    };
    const auto it = kinds.find(table);
    return it == kinds.end() ? nullptr : &it->second;
}

bool FolderOf(const std::string& name, std::string& out)
{
    if (name == "settings")
        return PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, out);
    if (name == "host")
        return PeldaIni::GetPeldaPath(PeldaIni::kHostFolder, out);
    if (name == "system")
        return PeldaIni::GetPeldaPath(PeldaIni::kSystemFolder, out);
    if (name == "sysvur") {   // the host system folder's "SysVur" (the work-kind list)
        if (!PeldaIni::GetPeldaPath(PeldaIni::kSystemFolder, out))
            return false;
        out = JoinHostPath(out, "SysVur");
        return true;
    }
    if (name == "work")
        return PeldaIni::GetPeldaPath(PeldaIni::kWorkFolder, out);
    if (name == "binder-common")
        return PeldaIni::GetBinderCommonDataPath(out);
    if (name == "binder-conditions")
        return GetBndVurPath(out);
    if (name == "user-root")
        return PeldaIni::GetPeldaUserDataRootPath(out);
    if (name == "binder-temp")
        return PeldaIni::GetBinderTempPath(out);
    return false;
}

bool StoreParts(PartSystem& system, const QJsonArray& parts, std::string& error)
{
    int index = 0;
    for (const QJsonValue& entry : parts) {
        const QJsonObject part = entry.toObject();
        const int program = part.value("program").toInt(-1);
        const qint64 address = part.value("address").toInteger(0);
        const std::string where = "parts[" + std::to_string(index++) + "] (program " + std::to_string(program) +
                                  ", address " + std::to_string(address) + "): ";
        if (program <= 0 || program > 0xFFFF || address <= 0 || address > 0xFFFFFFFFLL) {
            error = where + "program and address are required";
            return false;
        }
        PartData data(static_cast<WORD>(program), static_cast<DWORD>(address));
        data.SetPartKey(static_cast<DWORD>(part.value("key").toInteger(address)));
        data.SetName(Str(part.value("name")));
        data.SetReportNoName(3, Str(part.value("report")));
        const QJsonArray titles = part.value("titles").toArray();
        data.SetTitles(Str(titles.at(0)), Str(titles.at(1)));
        data.SetActive(part.value("active").toBool(true));
        const QJsonObject records = part.value("records").toObject();
        for (auto it = records.begin(); it != records.end(); ++it) {
            std::vector<PartRecord> rows;
            const std::string name = it.key().toStdString();
            if (!ToRows(it.value(), rows, error)) {
                error = where + "record " + name + ": " + error;
                return false;
            }
            if (!CheckLayout(data.GetPrgNo(), name, rows, error)) {
                error = where + error;
                return false;
            }
            for (std::size_t r = 0; r < rows.size(); ++r)
                data.PutRecord(name, r, rows[r]);
        }
        if (!system.StorePart(data, error)) {
            error = where + error;
            return false;
        }
    }
    return true;
}

bool StoreAnswers(PartSystem& system, const QJsonArray& answers, std::string& error)
{
    int index = 0;
    for (const QJsonValue& entry : answers) {
        const QJsonObject answer = entry.toObject();
        std::vector<PartRecord> rows;
        const qint64 part = answer.value("part").toInteger(0);
        const std::string table = Str(answer.value("table"));
        const std::string where = "answers[" + std::to_string(index++) + "] (part " + std::to_string(part) + "): ";
        if (part <= 0 || table.empty()) {
            error = where + "part and table are required";
            return false;
        }
        const std::vector<FieldKind>* kinds = AnswerKinds(table);
        if (!ToRows(answer.value("rows"), rows, error) ||
            (kinds && !CheckKinds("table " + table, *kinds, true, rows, error)) ||
            !system.PutAnswers(static_cast<DWORD>(part), table, rows, error)) {
            error = where + error;
            return false;
        }
    }
    return true;
}

bool StoreConditions(PartSystem& system, const QJsonArray& conditions, std::string& error)
{
    int index = 0;
    for (const QJsonValue& entry : conditions) {
        const QJsonObject condition = entry.toObject();
        const std::string name = Str(condition.value("name"));
        if (name.empty()) {
            error = "conditions[" + std::to_string(index) + "]: a name is required";
            return false;
        }
        const QJsonValue value = condition.value("value");
        const std::string json =
            value.isObject() ? QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact).toStdString()
            : value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact).toStdString()
                              : std::string("null");
        if (!system.PutCondition(name, condition.value("key").toInteger(0), json, error))
            return false;
        ++index;
    }
    return true;
}

bool WriteFiles(const QJsonArray& files, std::string& error)
{
    int index = 0;
    for (const QJsonValue& entry : files) {
        const QJsonObject file = entry.toObject();
        const std::string where = "files[" + std::to_string(index++) + "]: ";
        std::string folder;
        if (!FolderOf(Str(file.value("folder")), folder)) {
            error = where + "unknown folder " + Str(file.value("folder"));
            return false;
        }
        const std::string name = Str(file.value("name"));
        if (name.empty() || name.find('/') != std::string::npos || name.find("..") != std::string::npos) {
            error = where + "a plain file name is required";
            return false;
        }
        std::string bytes;
        for (const QJsonValue& line : file.value("lines").toArray()) {
            const auto encoded = tessara::ToCp932(Str(line));
            if (!encoded) {
                error = where + "a line is not representable in CP932";
                return false;
            }
            bytes += encoded->Bytes() + "\r\n";
        }
        PeldaIni::CreateDir(folder);
        if (!tessara::AtomicWriteFile(JoinHostPath(folder, name), bytes)) {
            error = where + "cannot write " + JoinHostPath(folder, name);
            return false;
        }
    }
    return true;
}

} // namespace

bool PartSystemSeed::Load(const std::filesystem::path& file, std::string& error)
{
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        error = "シードを開けません: " + file.string();
        return false;
    }
    if (!Parse(in.readAll().toStdString(), error)) {
        error = file.string() + ": " + error;
        return false;
    }
    return true;
}

bool PartSystemSeed::Parse(const std::string& json, std::string& error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (doc.isNull() || !doc.isObject()) {
        error = "シードの JSON が不正です (offset " + std::to_string(parseError.offset) + ": " +
                parseError.errorString().toStdString() + ")";
        return false;
    }
    m_json = json;
    const QJsonValue script = doc.object().value("script");
    m_script = script.isObject() ? QJsonDocument(script.toObject()).toJson().toStdString() : std::string();
    return true;
}

std::unique_ptr<PartSystem> PartSystemSeed::Apply(const std::filesystem::path& dbFile,
                                                  std::string& error) const
{
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(m_json)).object();
    if (root.isEmpty()) {
        error = "シードがありません";
        return nullptr;
    }
    // Build beside the target and rename over it, so a failed seed leaves no half system.
    std::error_code ec;
    if (dbFile.has_parent_path())
        std::filesystem::create_directories(dbFile.parent_path(), ec);
    const std::filesystem::path building = dbFile.string() + ".seeding";
    std::filesystem::remove(building, ec);
    {
        std::unique_ptr<PartSystem> system = PartSystem::Open(building, true, error);
        if (!system)
            return nullptr;
        bool ok = system->Begin(error);
        const QJsonObject programs = root.value("programs").toObject();
        for (auto it = programs.begin(); ok && it != programs.end(); ++it)
            ok = system->SetProgramName(static_cast<WORD>(it.key().toInt()), Str(it.value()), error);
        ok = ok && StoreParts(*system, root.value("parts").toArray(), error) &&
             StoreAnswers(*system, root.value("answers").toArray(), error) &&
             StoreConditions(*system, root.value("conditions").toArray(), error) &&
             system->Commit(error);
        if (!ok) {
            system->Rollback();
            system.reset();
            std::filesystem::remove(building, ec);
            return nullptr;
        }
    }
    if (!WriteFiles(root.value("files").toArray(), error)) {
        std::filesystem::remove(building, ec);
        return nullptr;
    }
    std::filesystem::rename(building, dbFile, ec);
    if (ec) {
        error = "パートシステムを置けません: " + dbFile.string() + " (" + ec.message() + ")";
        std::filesystem::remove(building, ec);
        return nullptr;
    }
    const QJsonObject boards = root.value("boards").toObject();
    for (auto it = boards.begin(); it != boards.end(); ++it) {
        std::vector<DWORD> values;
        for (const QJsonValue& v : it.value().toArray())
            values.push_back(static_cast<DWORD>(v.toInteger()));
        PeldaGetApp().GetDocument()->SetBoards(it.key().toInt(nullptr, 0), std::move(values));
    }
    return PartSystem::Open(dbFile, false, error);
}
