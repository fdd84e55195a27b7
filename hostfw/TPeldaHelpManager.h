#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/TPeldaHelpContext.h"

#include <vector>

// The help topics pushed for the running command; Help buttons show the top one.
class HOSTFW_API TPeldaHelpManager {
public:
    void Push(const TPeldaHelpContext& context) { m_stack.push_back(context); }
    const std::vector<TPeldaHelpContext>& Topics() const { return m_stack; }
    // The topic with the given index among those pushed, null when none.
    const TPeldaHelpContext* Find(int index) const;
    // Shows the topic (through the host message box); false when there is none.
    bool Show(int index) const;

private:
    std::vector<TPeldaHelpContext> m_stack;
};
