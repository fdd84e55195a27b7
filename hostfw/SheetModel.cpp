#include "hostfw/SheetModel.h"

#include "hostfw/CVSheet.h"
#include "hostfw/UiGuard.h"

#include <QColor>

namespace {

QVariant ToColour(std::uint32_t colorref)
{
    if (colorref == kColorDefault)
        return {};
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}

} // namespace

SheetModel::SheetModel(CVSheet& sheet) : m_sheet(sheet) {}

int SheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_sheet.ColCount();
}

QVariant SheetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    // The hooks behind these are the plug-ins' code; painting must survive them.
    return UiGuard(QVariant(), [&]() -> QVariant {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return QString::fromStdString(m_sheet.DisplayText(index.row(), index.column()));
        case Qt::ToolTipRole: {
            // The whole text of a cell too narrow for it.
            const QString text = QString::fromStdString(m_sheet.DisplayText(index.row(), index.column()));
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        case Qt::BackgroundRole: return ToColour(m_sheet.BackgroundColour(index.row(), index.column()));
        case Qt::ForegroundRole: return ToColour(m_sheet.TextColour(index.row(), index.column()));
        default: return {};
        }
    });
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    const VstTemplate& form = m_sheet.Template();
    if (orientation == Qt::Horizontal && form.IsList() && section < static_cast<int>(form.Cells().size()))
        return QString::fromStdString(form.Cells()[static_cast<std::size_t>(section)].label);
    if (orientation == Qt::Vertical)
        return section + 1;
    return {};
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!UiGuard(true, [&] { return m_sheet.IsCellReadOnly(index.row(), index.column()); }))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return UiGuard(false, [&] { return m_sheet.CommitEdit(index.row(), index.column(), value.toString().toStdString()); });
}

void SheetModel::Reset()
{
    beginResetModel();
    m_rows = m_sheet.RowCount();
    endResetModel();
}

void SheetModel::Refresh()
{
    const int rows = m_sheet.RowCount();
    if (rows != m_rows) {
        Reset();
        return;
    }
    if (rows > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

void SheetModel::Changed(int row0, int col0, int row1, int col1)
{
    emit dataChanged(index(row0, col0), index(row1, col1));
}
