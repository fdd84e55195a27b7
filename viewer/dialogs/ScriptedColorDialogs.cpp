#include "viewer/dialogs/ScriptedColorDialogs.h"

std::optional<COLORREF> ScriptedColorDialogs::Choose(COLORREF initial, QWidget*, const ColorDialogPlacement& placement,
                                                     CustomColours*)
{
    std::lock_guard lock(m_mutex);
    m_requests.push_back({initial, placement});
    if (m_answers.empty())
        return std::nullopt;
    const auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedColorDialogs::QueueAnswer(std::optional<COLORREF> answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<ScriptedColorDialogs::Request> ScriptedColorDialogs::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}
