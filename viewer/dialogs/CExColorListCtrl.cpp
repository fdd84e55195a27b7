#include "viewer/dialogs/CExColorListCtrl.h"

#include "outside/CGradationSetting.h"
#include "viewer/dialogs/ColorRef.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Draws a stop row: the level right-aligned in the 50-pixel cell, one pixel in
// from its right edge, and the stop's colour over the rest of the row inset by a
// pixel; the selected row is highlighted and both parts framed.
class StopRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto* list = static_cast<const QWidget*>(parent());
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = list->palette();
        const QColor back = selected ? pal.color(QPalette::Highlight)
                                     : pal.color(list->isEnabled() ? QPalette::Base : QPalette::Button);
        const QColor text = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
        p->save();
        p->fillRect(option.rect, back);
        if (index.column() == 0) {
            p->setPen(text);
            p->drawText(option.rect.adjusted(0, 0, -1, 0), Qt::AlignRight | Qt::AlignVCenter,
                        index.data(Qt::DisplayRole).toString());
        } else {
            const QRect swatch = option.rect.adjusted(1, 1, -1, -1);
            p->fillRect(swatch, index.data(Qt::BackgroundRole).value<QBrush>());
        }
        if (selected) {
            p->setPen(pal.color(QPalette::Text));
            p->drawRect(option.rect.adjusted(index.column() == 0 ? 0 : 1, 0, -1, -1));
        }
        p->restore();
    }
};

} // namespace

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
    setItemDelegate(new StopRowDelegate(this));
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
