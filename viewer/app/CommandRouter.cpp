#include "viewer/app/CommandRouter.h"
#include "platform/Log.h"
#include "viewer/render/LongWorkGuard.h"

#include <QtGlobal>

#include <exception>

bool CommandRouter::Handled(unsigned id) const
{
    for (const CommandMap* map : m_chain) {
        if (map != nullptr && map->FindCommand(id) != nullptr) return true;
    }
    return false;
}

CommandUi CommandRouter::QueryUi(unsigned id) const
{
    CommandUi ui;
    for (const CommandMap* map : m_chain) {
        if (map == nullptr) continue;
        if (const CommandMap::UpdateHandler* update = map->FindUpdate(id)) {
            try {
                (*update)(ui);
            } catch (const std::exception& e) {
                tessara::Log("command %u: update failed: %s", id, e.what());
            }
            return ui;
        }
    }
    ui.enabled = Handled(id);
    return ui;
}

bool CommandRouter::Route(unsigned id) const
{
    // Long work pumps events with the view locked: a click it lets through must
    // not start a second command.
    if (LongWorkGuard::OtherWorkInProgress() && m_duringLongWork.count(id) == 0) return false;
    if (!QueryUi(id).enabled) return false;
    for (const CommandMap* map : m_chain) {
        if (map == nullptr) continue;
        if (const CommandMap::Handler* handler = map->FindCommand(id)) {
            try {
                (*handler)();
            } catch (const std::exception& e) {
                tessara::Log("command %u failed: %s", id, e.what());
            } catch (...) {
                tessara::Log("command %u failed", id);
            }
            return true;
        }
    }
    return false;
}
