#pragma once

#include <QObject>

class QEvent;
class QWidget;

// While work on the UI thread pumps events with the view locked, user input reaches
// only the widgets marked to take it (the frame's abort button) and the modal boxes
// opened meanwhile (the abort question); every other click, key or wheel turn is
// dropped, so nothing it would start waits for the lock this thread holds.
// Installed on the application for as long as it lives; UI thread only.
class WorkInputFilter : public QObject {
public:
    //! The dynamic property (bool) that marks a widget as taking input during the work.
    static constexpr const char* kTakesInput = "takesInputDuringWork";

    WorkInputFilter();
    ~WorkInputFilter() override;
    WorkInputFilter(const WorkInputFilter&) = delete;
    WorkInputFilter& operator=(const WorkInputFilter&) = delete;

    //! True when user input for this widget goes through while a filter lives.
    static bool TakesInput(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
