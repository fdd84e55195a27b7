#include "hostfw/CBcxGridCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>

int GridListBox::AddString(const std::string& text)
{
    m_items.push_back(text);
    return static_cast<int>(m_items.size()) - 1;
}

void GridListBox::SetCurSel(int index)
{
    m_cursel = index >= 0 && index < GetCount() ? index : -1;
}

std::string GridListBox::GetText(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[static_cast<std::size_t>(index)] : std::string();
}

CBcxGridCtrl::CBcxGridCtrl(QWidget* parent) : QTableView(parent)
{
    horizontalHeader()->setStretchLastSection(true);
    // Rows as tall as a line of text and the editor's frame, no taller: a table's
    // header and a whole page fit on the screen together.
    const int row = fontMetrics().height() + 8;
    verticalHeader()->setMinimumSectionSize(row);
    verticalHeader()->setDefaultSectionSize(row);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

void CBcxGridCtrl::RedrawRange(int row0, int col0, int row1, int col1)
{
    if (!model())
        return;
    for (int r = row0; r <= row1; ++r)
        for (int c = col0; c <= col1; ++c)
            update(model()->index(r, c));
}

void CBcxGridCtrl::RedrawAll()
{
    viewport()->update();
}

void CBcxGridCtrl::EnsureRowVisible(int row, int col)
{
    if (model())
        scrollTo(model()->index(row, col));
}

void CBcxGridCtrl::SetColor(int index, std::uint32_t colour)
{
    if (index >= 0 && index < 8)
        m_colours[index] = colour;
    viewport()->update();
}

std::uint32_t CBcxGridCtrl::GetColor(int index) const
{
    return index >= 0 && index < 8 ? m_colours[index] : 0xFF000000u;
}

void CBcxGridCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTableView::keyPressEvent(event);
        return;
    }
    // While a cell is edited the editor's Return commits it (the delegate); what comes
    // back up from the editor stops here.
    event->accept();
    if (state() == QAbstractItemView::EditingState)
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && (model()->flags(current) & Qt::ItemIsEditable))
        edit(current);
}
