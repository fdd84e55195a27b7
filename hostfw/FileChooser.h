#pragma once

#include "hostfw/CABINFO.h"
#include "hostfw/HostTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The host's output-file chooser for binder documents. It asks for a binder file (a
// file in the binder's file store) and lets the user edit the document texts, the
// register flag, the delivery attributes and flag. Non-zero when a file was chosen.
HOSTFW_API int _XFileNameLstForCals(const std::string& binderFile, std::string& text1,
                                    std::string& text2, int& registerFlag,
                                    const std::string& listFile, DWORD mode, int kind,
                                    int option, int& extra, CABINFO& info, void* locker,
                                    std::vector<std::string>& attributes, int& deliveryFlag);
HOSTFW_API int GetSelectFileCount();
HOSTFW_API std::string GetSelectFileName(int index);

// Scripted answer of the chooser (host stand-in and tests): the file name to choose
// in the binder's file store, or nullopt to cancel. Empty hook: a Qt file dialog.
using FileChooserHook = std::function<std::optional<std::string>(const std::string& listFile)>;
HOSTFW_API void SetFileChooserHook(FileChooserHook hook);

// The person's choice of a file name in the binder's file store with the Qt file
// dialog (suggested: the name it starts with); nullopt when cancelled or without a GUI
// application.
HOSTFW_API std::optional<std::string> AskBinderFileName(const std::string& suggested);
