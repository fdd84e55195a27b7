#pragma once

#include "platform/MessageBoxService.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace tessara {

// Test double: records every box and answers from a queue (the unattended answer
// once the queue is empty).
class ScriptedMessageBoxes : public MessageBoxService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned flags = 0;
        int answer = 0;
    };

    int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) override;

    void QueueAnswer(int answer);
    std::vector<Shown> ShownBoxes() const;
    std::size_t Count() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace tessara
