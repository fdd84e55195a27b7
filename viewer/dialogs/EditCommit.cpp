#include "viewer/dialogs/EditCommit.h"

#include <QWidget>

void EditCommit::CommitFocused(QWidget* dialog)
{
    if (!dialog)
        return;
    if (auto* edit = dynamic_cast<EditCommit*>(dialog->focusWidget()))
        edit->CommitText();
}
