#pragma once

#include "platform/MessageBoxService.h"

class QString;

namespace tessara {

// Message boxes shown with QMessageBox, always on the UI thread: a call from another
// thread waits until the user has answered. Without a QApplication (command-line
// tools) the text goes to stderr and the unattended answer is returned.
class QtMessageBoxService : public MessageBoxService {
public:
    int Show(std::string_view text, std::string_view caption, unsigned flags, QWidget* owner) override;

private:
    static int ShowOnUiThread(const QString& text, const QString& caption, unsigned flags, QWidget* owner);
};

} // namespace tessara
