#pragma once

#include <QAbstractTableModel>

class CVSheet;

// The grid model of a sheet: every question goes back to the sheet and its hooks.
// Internal to hostfw.
class SheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SheetModel(CVSheet& sheet);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    void Reset();
    // Re-reads the sheet: a reset when the row count changed, else every cell changed.
    void Refresh();
    void Changed(int row0, int col0, int row1, int col1);

private:
    CVSheet& m_sheet;
    int m_rows = 0;
};
