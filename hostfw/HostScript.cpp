#include "hostfw/HostScript.h"

#include "hostfw/CVPartDlg.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/FileChooser.h"
#include "hostfw/FormServices.h"
#include "hostfw/HostMessages.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

#include <deque>
#include <memory>
#include <optional>

namespace {

struct Answers {
    std::deque<int> messages;
    std::deque<std::optional<std::string>> chooser;
    std::deque<int> forms;
};

std::optional<DWORD> CodeOf(const QJsonValue& value)
{
    if (value.isDouble())
        return static_cast<DWORD>(value.toInteger());
    bool ok = false;
    const qulonglong code = value.toString().toULongLong(&ok, 0);
    if (!ok || code > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<DWORD>(code);
}

} // namespace

bool HostScript::Parse(const std::string& json, std::string& error)
{
    m_dialogSteps.clear();
    if (json.empty())
        return true;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (!doc.isObject()) {
        error = "スクリプトの JSON が不正です: " + parseError.errorString().toStdString();
        return false;
    }
    m_json = json;
    const QJsonArray steps = doc.object().value("dialog").toObject().value("steps").toArray();
    if (!steps.isEmpty())
        m_dialogSteps = QJsonDocument(steps).toJson(QJsonDocument::Compact).toStdString();
    return true;
}

void HostScript::InstallHooks(void (*report)(const std::string& line))
{
    auto answers = std::make_shared<Answers>();
    const QJsonObject root = QJsonDocument::fromJson(QByteArray::fromStdString(m_json)).object();
    for (const QJsonValue& v : root.value("messages").toArray())
        answers->messages.push_back(v.toInt(kIdOk));
    for (const QJsonValue& v : root.value("chooser").toArray())
        answers->chooser.push_back(v.isString() ? std::optional<std::string>(v.toString().toStdString())
                                                : std::nullopt);
    for (const QJsonValue& v : root.value("forms").toArray())
        answers->forms.push_back(v.toInt(1));

    SetHostMessageHandler([answers, report](const std::string& text, const std::string& caption, unsigned flags) {
        report("MSG[" + caption + "] " + text);
        if (!answers->messages.empty()) {
            const int answer = answers->messages.front();
            answers->messages.pop_front();
            return answer;
        }
        return (flags & 0x0Fu) == kMbYesNo ? kIdYes : kIdOk;
    });
    SetFileChooserHook([answers, report](const std::string&) -> std::optional<std::string> {
        if (answers->chooser.empty()) {
            report("CHOOSE (cancelled)");
            return std::nullopt;
        }
        std::optional<std::string> name = answers->chooser.front();
        answers->chooser.pop_front();
        report(name ? "CHOOSE " + *name : std::string("CHOOSE (cancelled)"));
        return name;
    });
    SetFormSelectHook([answers](WORD) {
        if (answers->forms.empty())
            return 1;
        const int answer = answers->forms.front();
        answers->forms.pop_front();
        return answer;
    });
}

void HostScript::InstallInteractiveHooks(void (*report)(const std::string& line))
{
    SetHostMessageHandler([report](const std::string& text, const std::string& caption, unsigned flags) {
        report("MSG[" + caption + "] " + text);
        const int answer = tessara::MessageBox(text, caption, flags);
        report("ANSWER " + std::to_string(answer));
        return answer;
    });
    SetFileChooserHook([report](const std::string&) {
        report("CHOOSE asking the person");
        std::optional<std::string> name = AskBinderFileName({});
        report(name ? "CHOOSE " + *name : std::string("CHOOSE (cancelled)"));
        return name;
    });
    SetFormSelectHook({});
}

void HostScript::RemoveHooks()
{
    SetHostMessageHandler({});
    SetFileChooserHook({});
    SetFormSelectHook({});
}

bool HostScript::RunDialog(CVPartDlg& dialog, std::string& error) const
{
    if (m_dialogSteps.empty())
        return true;
    const QJsonArray steps = QJsonDocument::fromJson(QByteArray::fromStdString(m_dialogSteps)).array();
    QPointer<CVPartDlg> alive(&dialog);
    int index = 0;
    for (const QJsonValue& entry : steps) {
        const QJsonObject step = entry.toObject();
        const std::string where = "dialog step " + std::to_string(index++) + ": ";
        QCoreApplication::processEvents();
        if (!alive) {
            error = where + "the dialog has closed";
            return false;
        }
        if (step.contains("tab")) {
            if (!dialog.SelectTab(step.value("tab").toInt(-1))) {
                error = where + "no such tab";
                return false;
            }
            continue;
        }
        if (step.contains("button")) {
            const int id = step.value("button").toInt();
            if (!dialog.PressButton(id)) {
                error = where + "button " + std::to_string(id) + " did not act";
                return false;
            }
            continue;
        }
        auto* sheet = dynamic_cast<CVPartVSheet*>(dialog.FindSheet(step.value("sheet").toInt()));
        const std::optional<DWORD> code = CodeOf(step.value("code"));
        int row = 0;
        int col = 0;
        if (!sheet || !code || !sheet->CodeToCell(*code, step.value("row").toInt(0), row, col)) {
            error = where + "no such sheet or cell";
            return false;
        }
        const bool done = step.contains("list") ? sheet->EditCellList(row, col, step.value("list").toInt(-1))
                                                : sheet->EditCellText(row, col, step.value("text").toString().toStdString());
        if (!done) {
            error = where + "the cell refused the value";
            return false;
        }
    }
    QCoreApplication::processEvents();
    return true;
}
