#pragma once

#include "viewer/dialogs/ColorDialogService.h"

#include <deque>
#include <mutex>
#include <vector>

// Test double of the colour dialog: records every request and answers from a
// queue (cancel once the queue is empty).
class ScriptedColorDialogs : public ColorDialogService {
public:
    struct Request {
        COLORREF initial = 0;
        ColorDialogPlacement placement;
    };

    std::optional<COLORREF> Choose(COLORREF initial, QWidget* owner, const ColorDialogPlacement& placement,
                                   CustomColours* custom) override;
    void QueueAnswer(std::optional<COLORREF> answer);
    std::vector<Request> Requests() const;

private:
    mutable std::mutex m_mutex;
    std::deque<std::optional<COLORREF>> m_answers;
    std::vector<Request> m_requests;
};
