#pragma once

#include <string>

// What the view's rooms below the application shell ask of the main frame: the
// status text, the progress bar and the abort flags. The frame registers itself
// when it becomes the process's main window and leaves when it goes; the rooms
// never include the frame itself.
class FrameLink {
public:
    virtual ~FrameLink() = default;

    //! Sets the message pane's text (UI thread).
    virtual void SetStatusText(const std::string& utf8) = 0;
    //! Shows the progress bar (range 0..max) and the abort button when asked; any thread.
    virtual void UpdateProgress(unsigned max, unsigned pos, int showAbort) = 0;
    //! Ends a progress display; any thread.
    virtual void EndProgress() = 0;
    //! The abort question is open right now (non-zero).
    virtual int AbortPromptOpen() const = 0;
    //! The user confirmed the abort (non-zero).
    virtual int AbortRequested() const = 0;
    //! -2 abort confirmed, -1 the question is open, 0 go on.
    virtual int PollAbort() const = 0;
    //! The user closed the window: work that waits (pumping events) should end.
    virtual bool Closing() const = 0;
    //! The group pane is shown.
    virtual bool GroupPaneVisible() const { return false; }
    //! Shows or hides the group pane and lays the frame out again.
    virtual void SetGroupPaneVisible(bool /*visible*/) {}
    //! Moves the main window to a rectangle of screen pixels (left, top, right,
    //! bottom), clipped to the screen's available area; false when nothing of it is left.
    virtual bool MoveMainWindow(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) { return false; }

    //! The main frame of the process, or null.
    static FrameLink* Main();
    static void SetMain(FrameLink* frame);
    //! Leaves the slot empty when frame is the one registered.
    static void Leave(const FrameLink* frame);
};
