#pragma once

#include "viewer/render/FrameLink.h"

#include <string>

// A main frame for view tests: registered while it lives; the test sets its abort
// answer and closing state.
class FakeFrame : public FrameLink {
public:
    FakeFrame() { FrameLink::SetMain(this); }
    ~FakeFrame() override { FrameLink::Leave(this); }
    void SetStatusText(const std::string&) override {}
    void UpdateProgress(unsigned, unsigned, int) override {}
    void EndProgress() override {}
    int AbortPromptOpen() const override { return 0; }
    int AbortRequested() const override { return abort ? 1 : 0; }
    int PollAbort() const override { return abort ? -2 : 0; }
    bool Closing() const override { return closing; }
    bool abort = false;
    bool closing = false;
};

