#include "hostfw/TPeldaHelpManager.h"

#include "hostfw/HostMessages.h"

const TPeldaHelpContext* TPeldaHelpManager::Find(int index) const
{
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
        if (it->index == index)
            return &*it;
    return nullptr;
}

bool TPeldaHelpManager::Show(int index) const
{
    const TPeldaHelpContext* context = Find(index);
    if (!context)
        context = m_stack.empty() ? nullptr : &m_stack.back();
    if (!context)
        return false;
    HostMessageBox(context->topic, "ヘルプ " + context->module, kMbOk | kMbIconInformation);
    return true;
}
