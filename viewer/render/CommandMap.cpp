#include "viewer/render/CommandMap.h"

#include <algorithm>
#include <utility>

bool CommandMap::On(unsigned id, Handler handler)
{
    return m_commands.emplace(id, std::move(handler)).second;
}

void CommandMap::OnRange(unsigned first, unsigned last, const std::function<void(unsigned)>& handler)
{
    for (unsigned id = first; id <= last; ++id) {
        On(id, [handler, id] { handler(id); });
    }
}

bool CommandMap::OnUpdate(unsigned id, UpdateHandler handler)
{
    return m_updates.emplace(id, std::move(handler)).second;
}

void CommandMap::OnUpdateRange(unsigned first, unsigned last,
                               const std::function<void(unsigned, CommandUi&)>& handler)
{
    for (unsigned id = first; id <= last; ++id) {
        OnUpdate(id, [handler, id](CommandUi& ui) { handler(id, ui); });
    }
}

bool CommandMap::OnMessage(unsigned message, MessageHandler handler)
{
    return m_messages.emplace(message, std::move(handler)).second;
}

bool CommandMap::Before(unsigned id, Handler first)
{
    const auto it = m_commands.find(id);
    if (it == m_commands.end()) return false;
    it->second = [first = std::move(first), then = std::move(it->second)] {
        first();
        then();
    };
    return true;
}

std::vector<unsigned> CommandMap::CommandIds() const
{
    std::vector<unsigned> ids;
    ids.reserve(m_commands.size());
    for (const auto& entry : m_commands) ids.push_back(entry.first);
    std::sort(ids.begin(), ids.end());
    return ids;
}

const CommandMap::Handler* CommandMap::FindCommand(unsigned id) const
{
    const auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : &it->second;
}

const CommandMap::UpdateHandler* CommandMap::FindUpdate(unsigned id) const
{
    const auto it = m_updates.find(id);
    return it == m_updates.end() ? nullptr : &it->second;
}

const CommandMap::MessageHandler* CommandMap::FindMessage(unsigned message) const
{
    const auto it = m_messages.find(message);
    return it == m_messages.end() ? nullptr : &it->second;
}

std::intptr_t CommandMap::Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const
{
    const MessageHandler* handler = FindMessage(message);
    return handler == nullptr ? 0 : (*handler)(wParam, lParam);
}
