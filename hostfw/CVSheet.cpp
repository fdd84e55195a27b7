#include "hostfw/CVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVApp.h"
#include "hostfw/SheetDelegate.h"
#include "hostfw/SheetModel.h"

#include <QHeaderView>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

CVSheet::CVSheet(QWidget* parent)
    : QWidget(parent), m_grid(new CBcxGridCtrl(this)), m_model(std::make_unique<SheetModel>(*this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    m_grid->setModel(m_model.get());
    m_grid->setItemDelegate(new SheetDelegate(*this, m_grid));
}

CVSheet::~CVSheet()
{
    m_grid->setModel(nullptr);
}

bool CVSheet::LoadTemplate(const std::string& name)
{
    std::filesystem::path path(name);
    if (!path.is_absolute())
        path = CVApp::Instance().PluginDataDir() / path;
    VstTemplate loaded;
    if (!loaded.Load(path, m_error))
        return false;
    m_template = std::move(loaded);
    m_grid->verticalHeader()->setVisible(m_template.IsList());
    m_grid->horizontalHeader()->setVisible(m_template.IsList());
    m_model->Reset();
    return true;
}

void CVSheet::AdjustWindowSize(int)
{
    m_grid->resizeColumnsToContents();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    if (!m_template.IsList())
        FitHeightToRows();
}

void CVSheet::FitHeightToRows()
{
    // A sheet of fixed rows is as tall as its rows: the labels keep their width, the
    // values take the rest (a long value is cut with "…" and shown whole in its tooltip
    // and its editor). Only a sheet taller than much of the screen may be squeezed, and
    // then scrolls its rows.
    QHeaderView* columns = m_grid->horizontalHeader();
    if (columns->count() > 1) {
        for (int col = 0; col + 1 < columns->count(); ++col)
            columns->setSectionResizeMode(col, QHeaderView::ResizeToContents);
        columns->setSectionResizeMode(columns->count() - 1, QHeaderView::Stretch);
    }
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    QHeaderView* rows = m_grid->verticalHeader();
    int frame = 2 * m_grid->frameWidth();
    if (!columns->isHidden())
        frame += columns->sizeHint().height();
    const int height = rows->length() + frame;
    // Whole unless that would take much of the screen: then at least a few rows.
    int roomy = height;
    if (const QScreen* screen = this->screen())
        roomy = screen->availableGeometry().height() * 2 / 5;
    int least = height;
    if (height > roomy) {
        constexpr int kRowsAlwaysShown = 3;
        least = frame;
        for (int row = 0; row < std::min(rows->count(), kRowsAlwaysShown); ++row)
            least += rows->sectionSize(row);
    }
    m_grid->setMinimumHeight(least);
    m_grid->setMaximumHeight(height);
    setMaximumHeight(height);
}

int CVSheet::RowCount() const
{
    return m_template.IsList() ? 0 : static_cast<int>(m_template.Cells().size());
}

int CVSheet::ColCount() const
{
    return m_template.IsList() ? static_cast<int>(m_template.Cells().size()) : 2;
}

int CVSheet::RowToRec(int row) const
{
    return m_template.IsList() ? row : 0;
}

GridCellInfo CVSheet::CellAt(int row, int col) const
{
    GridCellInfo cell;
    cell.row = row;
    cell.col = col;
    const auto& cells = m_template.Cells();
    const int index = m_template.IsList() ? col : (col == 1 ? row : -1);
    if (index >= 0 && static_cast<std::size_t>(index) < cells.size())
        cell.code = cells[static_cast<std::size_t>(index)].code;
    return cell;
}

VstTemplate::Editor CVSheet::EditorAt(int row, int col) const
{
    const auto& cells = m_template.Cells();
    const int index = m_template.IsList() ? col : (col == 1 ? row : -1);
    if (index < 0 || static_cast<std::size_t>(index) >= cells.size())
        return VstTemplate::Editor::Label;
    return cells[static_cast<std::size_t>(index)].editor;
}

bool CVSheet::CodeToCell(DWORD code, int rec, int& row, int& col) const
{
    const int index = m_template.FindCode(code);
    if (index < 0)
        return false;
    if (m_template.IsList()) {
        row = rec;
        col = index;
    } else {
        row = index;
        col = 1;
    }
    return true;
}

void CVSheet::CellToRange(const GridCellInfo& cell)
{
    m_model->Changed(cell.row, cell.col, cell.row, cell.col);
}

GridCellInfo CVSheet::CurrentCell() const
{
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? CellAt(index.row(), index.column()) : GridCellInfo{};
}

void CVSheet::MoveRepCell(int row, int col)
{
    m_grid->setCurrentIndex(m_model->index(row, col));
}

bool CVSheet::GetNextEditCell(int& row, int& col)
{
    const int rows = RowCount();
    const int cols = ColCount();
    int r = row;
    int c = col + 1;
    for (; r < rows; ++r, c = 0) {
        for (; c < cols; ++c) {
            if (!IsCellReadOnly(r, c)) {
                row = r;
                col = c;
                return true;
            }
        }
    }
    return false;
}

void CVSheet::RedrawGrid()
{
    m_model->Refresh();
    m_grid->RedrawAll();
}

std::string CVSheet::CellText(int row, int col) const
{
    if (!m_template.IsList() && col == 0 && static_cast<std::size_t>(row) < m_template.Cells().size())
        return m_template.Cells()[static_cast<std::size_t>(row)].label;
    return {};
}

std::string CVSheet::DisplayText(int row, int col)
{
    std::string text = CellText(row, col);
    if (CellAt(row, col).code != 0)
        OnGetFixText(CellAt(row, col), text);
    return text;
}

bool CVSheet::IsCellReadOnly(int row, int col)
{
    GridDispInfo info;
    info.cell = CellAt(row, col);
    if (info.cell.code == 0 || EditorAt(row, col) == VstTemplate::Editor::Label)
        return true;
    OnGridGetDispInfo(info, 0);
    return (info.state & GridDispInfo::kStateReadOnly) != 0;
}

std::uint32_t CVSheet::BackgroundColour(int row, int col)
{
    const GridCellInfo cell = CellAt(row, col);
    if (cell.code == 0)
        return m_grid->GetColor(7);
    return OnGetTextBkColor(cell);
}

std::uint32_t CVSheet::TextColour(int row, int col)
{
    return OnGetTextColor(CellAt(row, col));
}

std::vector<std::string> CVSheet::ListEntriesAt(int, int)
{
    return {};
}

bool CVSheet::CommitEdit(int, int, const std::string&)
{
    return false;
}

bool CVSheet::CommitList(int, int, int)
{
    return false;
}

void CVSheet::OnGridGetDispInfo(GridDispInfo&, int) {}

void CVSheet::OnGetFixText(const GridCellInfo&, std::string&) {}

std::uint32_t CVSheet::OnGetTextBkColor(const GridCellInfo&)
{
    return m_grid->GetColor(0);
}

std::uint32_t CVSheet::OnGetTextColor(const GridCellInfo&)
{
    return kColorDefault;
}
