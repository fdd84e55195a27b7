#include "viewer/dialogs/DialogRunner.h"

namespace tessara {

namespace {
std::mutex g_scriptMutex;
std::shared_ptr<DialogScript> g_script;
} // namespace

std::shared_ptr<DialogScript> SetDialogScript(std::shared_ptr<DialogScript> script)
{
    std::lock_guard lock(g_scriptMutex);
    std::swap(g_script, script);
    return script;
}

std::shared_ptr<DialogScript> CurrentDialogScript()
{
    std::lock_guard lock(g_scriptMutex);
    return g_script;
}

int DialogScript::Play(const std::string& dialog, std::any& values)
{
    std::function<int(std::any&)> answer;
    {
        std::lock_guard lock(mutex_);
        if (auto it = answers_.find(dialog); it != answers_.end())
            answer = it->second;
    }
    Call call{dialog, IDCANCEL, values, {}};
    if (answer)
        call.result = answer(values);
    call.valuesOut = values;
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
    return calls_.back().result;
}

std::vector<DialogScript::Call> DialogScript::Calls() const
{
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> DialogScript::Dialogs() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& call : calls_)
        names.push_back(call.dialog);
    return names;
}

void DialogScript::Clear()
{
    std::lock_guard lock(mutex_);
    calls_.clear();
}

} // namespace tessara
