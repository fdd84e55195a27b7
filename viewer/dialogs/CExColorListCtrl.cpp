#include "viewer/dialogs/CExColorListCtrl.h"

#include "outside/CGradationSetting.h"
#include "viewer/dialogs/ColorRef.h"

#include <QHeaderView>
#include <QScrollBar>

CExColorListCtrl::CExColorListCtrl(QWidget* parent) : QTableWidget(parent)
{
    setColumnCount(2);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setColumnWidth(0, 50);
    horizontalHeader()->setStretchLastSection(true);
}

void CExColorListCtrl::Fill(const std::vector<ColorConf>& stops)
{
    clearContents();
    setRowCount(static_cast<int>(stops.size()));
    for (int i = 0; i < rowCount(); ++i) {
        const ColorConf& stop = stops[static_cast<std::size_t>(i)];
        auto* level = new QTableWidgetItem(QString::number(stop.level));
        level->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(i, 0, level);
        auto* colour = new QTableWidgetItem;
        colour->setBackground(ColorRef::ToQColor(stop.color));
        setItem(i, 1, colour);
    }
}

int CExColorListCtrl::SelectedRow() const
{
    const auto rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.front().row();
}

void CExColorListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        return;
    }
    selectRow(row);
    setCurrentCell(row, 0);
}

void CExColorListCtrl::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    setColumnWidth(0, 50);
}
