#pragma once

#include "platform/MessageBoxService.h"
#include "platform/QtMessageBoxService.h"
#include "platform/ScriptedMessageBoxes.h"

#include <memory>
#include <string_view>

namespace tessara {

// Shows a box through the process's service (Qt message boxes unless another was
// installed) and returns IDOK, IDYES, IDNO or IDCANCEL.
int MessageBox(std::string_view text, std::string_view caption = kDefaultMessageCaption,
               unsigned flags = MB_OK, QWidget* owner = nullptr);

// Lets worker threads waiting for a box return with the unattended answer: a window
// that is closing calls it before it joins its workers.
void CancelPendingMessageBoxes();

// Installs the process's service and returns the previous one; null restores the
// Qt service.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);

} // namespace tessara
