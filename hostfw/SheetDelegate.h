#pragma once

#include <QStyledItemDelegate>

class CVSheet;

// Editors of a sheet's cells: a drop-down for list and switch cells (its entries from
// the sheet's list hook), a line edit otherwise. Internal to hostfw.
class SheetDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    SheetDelegate(CVSheet& sheet, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Return commits the editor and closes it, unless the sheet refused the text: then
    // the editor stays open with what was typed.
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    CVSheet& m_sheet;
};
