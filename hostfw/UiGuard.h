#pragma once

#include "hostfw/HostMessages.h"

#include <exception>
#include <string>

// Runs a handler of a Qt signal or event so that no exception reaches Qt's event loop:
// a failure is reported through the host message box and the fallback is answered.
// Plug-in widgets use it for their own slots too.
template <class Result, class Handler>
Result UiGuard(Result fallback, Handler&& handler) noexcept
{
    try {
        return handler();
    } catch (const std::exception& e) {
        try {
            HostMessageBox(std::string("処理中にエラーが発生しました。\n") + e.what(), "エラー", kMbOk | kMbIconHand);
        } catch (...) {
        }
    } catch (...) {
        try {
            HostMessageBox("処理中に予期しないエラーが発生しました。", "エラー", kMbOk | kMbIconHand);
        } catch (...) {
        }
    }
    return fallback;
}
