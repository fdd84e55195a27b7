#include "platform/ScriptedMessageBoxes.h"

namespace tessara {

int ScriptedMessageBoxes::Show(std::string_view text, std::string_view caption, unsigned flags, QWidget*)
{
    const std::lock_guard lock(m_mutex);
    int answer = UnattendedAnswer(flags);
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_shown.push_back(Shown{std::string(text), std::string(caption), flags, answer});
    return answer;
}

void ScriptedMessageBoxes::QueueAnswer(int answer)
{
    const std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<ScriptedMessageBoxes::Shown> ScriptedMessageBoxes::ShownBoxes() const
{
    const std::lock_guard lock(m_mutex);
    return m_shown;
}

std::size_t ScriptedMessageBoxes::Count() const
{
    const std::lock_guard lock(m_mutex);
    return m_shown.size();
}

void ScriptedMessageBoxes::Clear()
{
    const std::lock_guard lock(m_mutex);
    m_shown.clear();
    m_answers.clear();
}

} // namespace tessara
