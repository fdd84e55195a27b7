#pragma once

#include "platform/MessageBoxService.h"

#include <memory>
#include <mutex>

class QString;

namespace tessara {

class UiMessageTarget;

// Message boxes shown with QMessageBox, always on the UI thread: a call from another
// thread waits until the user has answered. Without a QApplication (command-line
// tools) the text goes to stderr and the unattended answer is returned.
class QtMessageBoxService : public MessageBoxService {
public:
    QtMessageBoxService();
    ~QtMessageBoxService() override;

    int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) override;
    // Workers waiting for a box, and later ones, get the unattended answer at once, so
    // a closing window can join a worker that was about to ask the user something.
    // Boxes asked for on the UI thread still show.
    void CancelPending() override;
    // Workers blocked right now waiting for the UI thread to show their box.
    int WaitingWorkers();

private:
    static int ShowOnUiThread(const QString& text, const QString& caption, unsigned flags, QWidget* owner);
    UiMessageTarget* WorkerTarget();

    std::mutex m_mutex;
    std::unique_ptr<UiMessageTarget> m_workerTarget;    // made on first use from a worker
    bool m_cancelled = false;
};

} // namespace tessara
