#include "hostfw/FormTemplate.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool ReadBox(const QJsonObject& object, FormTemplate::Box& box)
{
    box.x = object.value("x_mm").toDouble(-1);
    box.y = object.value("y_mm").toDouble(-1);
    box.w = object.value("w_mm").toDouble(0);
    box.h = object.value("h_mm").toDouble(0);
    box.pt = object.value("pt").toDouble(10);
    return box.x >= 0 && box.y >= 0 && box.pt >= FormTemplate::kMinPointSize;
}

// "no": 5 or "no": [23, 27, 70]; every number positive, at least one.
bool ReadFieldNumbers(const QJsonValue& value, std::vector<int>& fields)
{
    fields.clear();
    if (value.isArray()) {
        for (const QJsonValue& entry : value.toArray())
            fields.push_back(entry.toInt(0));
    } else {
        fields.push_back(value.toInt(0));
    }
    if (fields.empty())
        return false;
    for (int no : fields)
        if (no <= 0)
            return false;
    return true;
}

bool ReadTables(const QJsonArray& array, std::vector<FormTemplate::Table>& tables)
{
    for (const QJsonValue& entry : array) {
        FormTemplate::Table table;
        table.caption = entry.toObject().value("caption").toString().toStdString();
        for (const QJsonValue& rowValue : entry.toObject().value("rows").toArray()) {
            FormTemplate::Row row;
            row.caption = rowValue.toObject().value("caption").toString().toStdString();
            row.element = rowValue.toObject().value("element").toString().toStdString();
            if (!ReadFieldNumbers(rowValue.toObject().value("no"), row.fields))
                return false;
            table.rows.push_back(std::move(row));
        }
        if (table.rows.empty())
            return false;
        tables.push_back(std::move(table));
    }
    return true;
}

} // namespace

bool FormTemplate::Load(const std::filesystem::path& file, std::string& error)
{
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        error = "帳票テンプレートがありません: " + file.string();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (!doc.isObject()) {
        error = "帳票テンプレートが不正です: " + file.string() + " (" +
                parseError.errorString().toStdString() + ")";
        return false;
    }
    const QJsonObject root = doc.object();
    const QJsonObject page = root.value("page").toObject();
    m_widthMm = page.value("width_mm").toDouble(210);
    m_heightMm = page.value("height_mm").toDouble(297);
    m_marginMm = page.value("margin_mm").toDouble(15);
    m_pt = root.value("pt").toDouble(9);
    m_captionWidthMm = root.value("caption_width_mm").toDouble(55);
    m_title = root.value("title").toString().toStdString();
    m_fields.clear();
    m_labels.clear();
    m_tables.clear();
    const double usableWidth = m_widthMm - 2 * m_marginMm;
    if (m_widthMm <= 0 || m_heightMm <= 0 || m_marginMm < 0 || usableWidth <= 0 ||
        m_heightMm - 2 * m_marginMm <= 0) {
        error = "帳票テンプレートの用紙寸法が不正です: " + file.string();
        return false;
    }
    if (m_pt < kMinPointSize || m_captionWidthMm <= 0 || m_captionWidthMm >= usableWidth) {
        error = "帳票テンプレートの文字の大きさか見出しの幅が不正です: " + file.string();
        return false;
    }
    for (const QJsonValue& entry : root.value("fields").toArray()) {
        Field field;
        field.no = entry.toObject().value("no").toInt(0);
        if (field.no <= 0 || !ReadBox(entry.toObject(), field.box) || field.box.w <= 0 || field.box.h <= 0) {
            error = "帳票テンプレートの欄が不正です: " + file.string();
            return false;
        }
        m_fields.push_back(field);
    }
    for (const QJsonValue& entry : root.value("labels").toArray()) {
        Label label;
        label.text = entry.toObject().value("text").toString().toStdString();
        if (!ReadBox(entry.toObject(), label.box)) {
            error = "帳票テンプレートの見出しが不正です: " + file.string();
            return false;
        }
        m_labels.push_back(label);
    }
    if (!ReadTables(root.value("tables").toArray(), m_tables)) {
        error = "帳票テンプレートの表が不正です: " + file.string();
        return false;
    }
    return true;
}

const FormTemplate::Field* FormTemplate::FindField(int no) const
{
    for (const Field& field : m_fields)
        if (field.no == no)
            return &field;
    return nullptr;
}
