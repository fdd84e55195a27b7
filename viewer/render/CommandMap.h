#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

// What an update-UI handler decides about one command's button or menu item.
struct CommandUi {
    bool enabled = true;
    bool checked = false;
};

// One window object's table of command handlers, update-UI handlers and window
// message handlers (the view's WM_USER+100.. messages). The first entry for an id
// wins: a later one for the same id is refused and never runs.
class CommandMap {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandUi&)>;
    // A window message's handler: (wParam, lParam) -> result.
    using MessageHandler = std::function<std::intptr_t(std::uintptr_t, std::intptr_t)>;

    //! Binds a command id; false when the id is taken already.
    bool On(unsigned id, Handler handler);
    //! Binds every id of [first, last] to one handler that receives the id.
    void OnRange(unsigned first, unsigned last, const std::function<void(unsigned)>& handler);
    bool OnUpdate(unsigned id, UpdateHandler handler);
    void OnUpdateRange(unsigned first, unsigned last,
                       const std::function<void(unsigned, CommandUi&)>& handler);
    bool OnMessage(unsigned message, MessageHandler handler);
    //! Runs first before the id's handler from now on; false when the id has none.
    bool Before(unsigned id, Handler first);

    const Handler* FindCommand(unsigned id) const;
    //! Every command id with a handler, in ascending order.
    std::vector<unsigned> CommandIds() const;
    const UpdateHandler* FindUpdate(unsigned id) const;
    const MessageHandler* FindMessage(unsigned message) const;

    //! Runs a window message's handler; a message without one answers 0.
    std::intptr_t Dispatch(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const;

private:
    std::unordered_map<unsigned, Handler> m_commands;
    std::unordered_map<unsigned, UpdateHandler> m_updates;
    std::unordered_map<unsigned, MessageHandler> m_messages;
};
