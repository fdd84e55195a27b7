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

private:
    CVSheet& m_sheet;
};
