#pragma once

class QWidget;

// An edit that takes its text into its value when the focus leaves it. A button
// can be pressed without taking the focus (a shortcut, Enter on the dialog), so
// OK asks the focused edit to do now what its focus loss would do.
class EditCommit {
public:
    virtual ~EditCommit() = default;
    virtual void CommitText() = 0;

    //! Commits the edit inside `dialog` that holds the focus, if it is one of ours.
    static void CommitFocused(QWidget* dialog);
};
