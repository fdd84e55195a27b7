#pragma once

#include "hostfw/HostTypes.h"

#include <memory>
#include <string>

class QProgressDialog;

// The host's progress bar for long work on the UI thread (a Qt progress dialog when
// there is an application object; counting only otherwise).
class HOSTFW_API CVfxProgressBar {
public:
    CVfxProgressBar();
    ~CVfxProgressBar();

    void Create(const std::string& text, int total);
    void SetText(const std::string& text, int total);
    void StepIt();
    int GetPos() const { return m_pos; }
    void Close();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    int m_pos = 0;
    int m_total = 0;
};
