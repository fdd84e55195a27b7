#pragma once

#include <set>
#include <vector>

#include "viewer/render/CommandMap.h"

// Routes a command id through the window objects' maps in order (view, frame,
// application): the first map with a handler runs it. An id that no map handles
// is disabled; update-UI handlers decide the rest.
class CommandRouter {
public:
    //! The maps in routing order; null entries are skipped.
    void SetChain(std::vector<const CommandMap*> chain) { m_chain = std::move(chain); }

    //! Runs the command; false when no map handles it or its update-UI handler disables it,
    //! or while long work runs (see AllowDuringLongWork).
    bool Route(unsigned id) const;
    //! Lets a command through while long work pumps events: the one meant for it (abort).
    void AllowDuringLongWork(unsigned id) { m_duringLongWork.insert(id); }
    //! Enabled and checked state of a command's button or menu item.
    CommandUi QueryUi(unsigned id) const;
    //! True when some map has a handler for the id.
    bool Handled(unsigned id) const;

private:
    std::vector<const CommandMap*> m_chain;
    std::set<unsigned> m_duringLongWork;
};
