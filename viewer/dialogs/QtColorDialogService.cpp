#include "viewer/dialogs/QtColorDialogService.h"

#include "viewer/dialogs/ColorRef.h"

#include <QColorDialog>
#include <QPointer>

std::optional<COLORREF> QtColorDialogService::Choose(COLORREF initial, QWidget* owner,
                                                     const ColorDialogPlacement& placement, CustomColours* custom)
{
    if (custom) {
        for (int i = 0; i < 16; ++i)
            QColorDialog::setCustomColor(i, ColorRef::ToQColor((*custom)[static_cast<std::size_t>(i)]));
    }
    QPointer<QColorDialog> dialog = new QColorDialog(ColorRef::ToQColor(initial), owner);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    // Leaving a platform dialog behind builds Qt's own widgets afresh, which then
    // show their default colour: the dialog opens on the caller's colour only
    // when it is given again.
    dialog->setCurrentColor(ColorRef::ToQColor(initial));
    if (!placement.caption.empty())
        dialog->setWindowTitle(QString::fromStdString(placement.caption));
    if (placement.atCursor) {
        dialog->adjustSize();
        dialog->move(ColorDialogPlacement::AtCursor(dialog->size(), placement.ownerRect, placement.cursor));
    }
    const int code = dialog->exec();
    std::optional<COLORREF> chosen;
    if (dialog && code == QDialog::Accepted)
        chosen = ColorRef::FromQColor(dialog->selectedColor());
    delete dialog.data();
    if (custom) {
        for (int i = 0; i < 16; ++i)
            (*custom)[static_cast<std::size_t>(i)] = ColorRef::FromQColor(QColorDialog::customColor(i));
    }
    return chosen;
}
