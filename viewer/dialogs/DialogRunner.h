#pragma once

// One way to open a modal dialog: by its class, with its values in and out.
//
// A dialog class that runs through here is a QDialog with Q_OBJECT and
//   struct Values { ... };                  // what goes in and comes back
//   explicit Dlg(QWidget* parent);
//   void SetValues(const Values&);          // before it is shown
//   Values GetValues() const;               // read after OK
//
// RunDialog shows it modally and copies the values back only on IDOK. Tests
// install a DialogScript: it answers chosen classes with a function that may
// change the values, records every call, and answers IDCANCEL to a class it has
// no answer for, so an unexpected dialog never waits for a person.

#include "platform/MessageBoxService.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tessara {

class DialogScript {
public:
    struct Call {
        std::string dialog;  // the class name
        int result = IDCANCEL;
        std::any valuesIn;   // Dlg::Values as it was passed in
        std::any valuesOut;  // and as it was returned
    };

    // Answers every run of Dlg: the function may change the values and returns
    // IDOK or IDCANCEL.
    template <class Dlg>
    void Answer(std::function<int(typename Dlg::Values&)> answer)
    {
        std::lock_guard lock(mutex_);
        answers_[Dlg::staticMetaObject.className()] = [answer](std::any& values) {
            return answer(*std::any_cast<typename Dlg::Values>(&values));
        };
    }

    // Answers IDOK with the values unchanged.
    template <class Dlg>
    void AcceptAs()
    {
        Answer<Dlg>([](typename Dlg::Values&) { return IDOK; });
    }

    std::vector<Call> Calls() const;
    std::vector<std::string> Dialogs() const;  // the class names, in call order
    void Clear();

    // Used by RunDialog.
    int Play(const std::string& dialog, std::any& values);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::function<int(std::any&)>> answers_;
    std::vector<Call> calls_;
};

// Installs the process's script and returns the previous one; null shows real
// dialogs again.
std::shared_ptr<DialogScript> SetDialogScript(std::shared_ptr<DialogScript> script);
std::shared_ptr<DialogScript> CurrentDialogScript();

// Shows Dlg modally over parent with values; IDOK copies the dialog's values back.
template <class Dlg>
int RunDialog(QWidget* parent, typename Dlg::Values& values)
{
    if (auto script = CurrentDialogScript()) {
        std::any carried = values;
        const int result = script->Play(Dlg::staticMetaObject.className(), carried);
        if (result == IDOK)
            values = std::any_cast<typename Dlg::Values>(carried);
        return result;
    }
    QPointer<Dlg> dialog = new Dlg(parent);
    dialog->SetValues(values);
    const int code = dialog->exec();
    int result = IDCANCEL;
    if (dialog && code == QDialog::Accepted) {
        values = dialog->GetValues();
        result = IDOK;
    }
    delete dialog.data();
    return result;
}

// A script installed for the life of a scope (tests).
class ScopedDialogScript {
public:
    ScopedDialogScript() : script_(std::make_shared<DialogScript>()), previous_(SetDialogScript(script_)) {}
    ~ScopedDialogScript() { SetDialogScript(previous_); }
    ScopedDialogScript(const ScopedDialogScript&) = delete;
    ScopedDialogScript& operator=(const ScopedDialogScript&) = delete;
    DialogScript* operator->() const { return script_.get(); }
    DialogScript& operator*() const { return *script_; }

private:
    std::shared_ptr<DialogScript> script_;
    std::shared_ptr<DialogScript> previous_;
};

} // namespace tessara
